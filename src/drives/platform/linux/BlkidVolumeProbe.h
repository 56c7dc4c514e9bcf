#pragma once

#include "VolumeProbe.h"

// Probes the mount's device or image file with libblkid, where udev has no entry
// (containers, images). Needs read access to the device.
class BlkidVolumeProbe : public VolumeProbe {
public:
    std::optional<VolumeId> probe(const MountEntry &mount) override;
    // The same for a device or image file that is not mounted.
    static std::optional<VolumeId> probeFile(const QString &path);
};
