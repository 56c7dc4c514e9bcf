#pragma once

#include "DriveControl.h"

// The kernel's CD-ROM ioctls. A drive is opened only with O_RDONLY | O_NONBLOCK |
// O_CLOEXEC, for one request at a time: a blocking open would close an open tray, and a
// descriptor kept open would make the drive refuse to eject.
class CdromControl : public DriveControl {
public:
    std::unique_ptr<SectorReader> openDisc(const QString &device) override;

protected:
    DriveStatus queryStatus(const QString &device) override;
    int ejectTray(const QString &device) override;
    int closeTrayDoor(const QString &device) override;
};
