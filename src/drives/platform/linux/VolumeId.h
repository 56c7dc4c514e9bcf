#pragma once

#include <QString>

// What identifies a file system: as udev or libblkid name it (type "vfat", version
// "FAT32", UUID "ABCD-1234"), or as the mounted file system tells it.
struct VolumeId {
    QString type;
    QString version;
    QString uuid;
    QString label;
};
