#pragma once

#include "MountSource.h"

// The mounts Qt's storage information lists (no pseudo file systems), and the kernel's
// word on whether a mount point is still one.
class StorageInfoMounts : public MountSource {
public:
    QList<MountEntry> mounts() override;
    bool isMounted(const MountEntry &mount) override;
};
