#include "CrCdA.h"

#include "drives/platform/Platform.h"
#include "drives/platform/formats/DriveTypes.h"

TCrCdA::TCrCdA(QObject *owner)
    : QObject(owner)
{
    FindCdDrives();
}

// Only the drive type is asked: the volumes of other drives are none of its business, and
// one of them (a network mount that hangs) could hold up the start.
void TCrCdA::FindCdDrives()
{
    Platform &platform = Platform::instance();
    for (int code = 'c'; code <= 'z'; ++code) {
        if (platform.driveType(char(code)) == DriveTypes::CdRom)
            m_cdList.append(QString::number(code));
    }
    m_cdCount = int(m_cdList.size());
}
