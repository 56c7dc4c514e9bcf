#pragma once

#include <QString>

// A mounted file system as the mount table gives it.
struct MountEntry {
    QString rootPath; // the mount point
    QString device;   // the device node or image file, or the source text (tmpfs, server:/x)
    QString fsType;   // as the mount table names it: ext4, vfat, fuse.sshfs, tmpfs, …
    bool readOnly = false;
    bool isDirectory = true; // false for a bind mount of a single file
};
