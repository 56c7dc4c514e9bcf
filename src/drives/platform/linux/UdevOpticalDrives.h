#pragma once

#include "OpticalDriveSource.h"

// The optical drives in udev's database (block disks with ID_CDROM=1), ordered by
// ID_PATH, which stays the same when USB devices are numbered anew. Where udev knows none
// (no udev in a container), the drives sysfs shows below sysRoot.
class UdevOpticalDrives : public OpticalDriveSource {
public:
    explicit UdevOpticalDrives(QString sysRoot = QStringLiteral("/sys"));
    QList<OpticalDevice> drives() override;

private:
    QList<OpticalDevice> fromUdev();

    QString m_sysRoot;
};
