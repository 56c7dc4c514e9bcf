#include "DriveControl.h"

#include "DrivesLog.h"

#include <cerrno>

using namespace Qt::StringLiterals;

DriveStatus DriveControl::status(const QString &device)
{
    DriveStatus answer = queryStatus(device);
    noted(device, answer.error);
    return answer;
}

int DriveControl::eject(const QString &device)
{
    return noted(device, ejectTray(device));
}

int DriveControl::closeTray(const QString &device)
{
    return noted(device, closeTrayDoor(device));
}

int DriveControl::noted(const QString &device, int error)
{
    if (error == EACCES && !m_denied.contains(device)) {
        m_denied.insert(device);
        qCWarning(lcDrives).noquote()
            << u"%1: permission denied; the drive counts as empty. Sit at the machine's seat or join group cdrom."_s
                   .arg(device);
    }
    return error;
}
