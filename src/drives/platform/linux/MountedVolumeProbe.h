#pragma once

#include "VolumeProbe.h"

// Asks the mounted file system itself: its UUID and label where the kernel gives them
// (FS_IOC_GETFSUUID, FS_IOC_GETFSLABEL), else the file-system id of statfs, which the
// kernel derives from the UUID for ext4, xfs and btrfs. Always answers for a mount
// point it can open.
class MountedVolumeProbe : public VolumeProbe {
public:
    std::optional<VolumeId> probe(const MountEntry &mount) override;
};
