#pragma once

#include "MountEntry.h"
#include "VolumeId.h"

#include <optional>

// One way of learning a mounted file system's identity; nothing when this way knows none.
class VolumeProbe {
public:
    virtual ~VolumeProbe() = default;
    virtual std::optional<VolumeId> probe(const MountEntry &mount) = 0;
};
