#pragma once

#include "MountEntry.h"

#include <QList>

// The mounted file systems of the machine.
class MountSource {
public:
    virtual ~MountSource() = default;
    virtual QList<MountEntry> mounts() = 0;
    // Whether the file system is still mounted at its mount point (a removed stick
    // leaves an empty directory behind, which must not answer for the stick).
    virtual bool isMounted(const MountEntry &mount) = 0;
};
