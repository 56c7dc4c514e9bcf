#pragma once

#include "DriveStatus.h"
#include "drives/platform/formats/SectorReader.h"

#include <QSet>
#include <QString>
#include <memory>

// Talks to an optical drive through its device node. Every answer that fails carries
// the errno. A drive the user may not open (EACCES: neither at the machine's seat nor in
// group cdrom) counts as empty, and the log says so once per drive.
class DriveControl {
public:
    virtual ~DriveControl() = default;

    DriveStatus status(const QString &device);
    // 0 when the tray moved, else the errno (EBUSY: held open or mounted; ENOSYS: a
    // slot-loading drive cannot close).
    int eject(const QString &device);
    int closeTray(const QString &device);
    // The disc in the drive, read from the start of its last session; nothing when the
    // drive cannot be opened.
    virtual std::unique_ptr<SectorReader> openDisc(const QString &device) = 0;

protected:
    virtual DriveStatus queryStatus(const QString &device) = 0;
    virtual int ejectTray(const QString &device) = 0;
    virtual int closeTrayDoor(const QString &device) = 0;

private:
    int noted(const QString &device, int error);

    QSet<QString> m_denied;
};
