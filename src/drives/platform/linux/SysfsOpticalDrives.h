#pragma once

#include "OpticalDriveSource.h"

// The optical drives sysfs shows, for machines without udev (containers): block devices
// sr* whose SCSI device type is 5, ordered by their sysfs device path.
class SysfsOpticalDrives : public OpticalDriveSource {
public:
    explicit SysfsOpticalDrives(QString sysRoot);
    QList<OpticalDevice> drives() override;

private:
    QString m_sysRoot;
};
