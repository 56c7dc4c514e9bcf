#pragma once

#include "VolumeProbe.h"

// Reads the udev database's entry of the mount's block device (ID_FS_TYPE, ID_FS_UUID,
// ID_FS_LABEL_ENC): it works for users who cannot open the device itself.
class UdevVolumeProbe : public VolumeProbe {
public:
    std::optional<VolumeId> probe(const MountEntry &mount) override;
};
