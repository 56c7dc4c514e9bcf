#pragma once

#include <QString>

// An optical drive of the machine as the system knows it.
struct OpticalDevice {
    QString node;       // the device node, /dev/sr0
    QString sysName;    // the kernel's name, sr0
    quint64 number = 0; // the device number (st_rdev of the node)
    // udev's ID_PATH (where the drive is attached), or the drive's sysfs path where udev
    // has none: the order in which the drives take their letters.
    QString path;
};
