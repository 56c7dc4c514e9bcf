#pragma once

#include "MountEntry.h"

#include <optional>

// Finds, makes and removes the mounts of block devices.
class MountService {
public:
    virtual ~MountService() = default;
    // Where the file system of a device (by its number) is mounted now.
    virtual std::optional<MountEntry> mountOf(quint64 deviceNumber) = 0;
    // Mounts the file system of a device unless it is mounted; the mount, or nothing.
    virtual std::optional<MountEntry> mount(const QString &device, quint64 deviceNumber) = 0;
    // True when the device's file system is no longer mounted.
    virtual bool unmount(const QString &device) = 0;
};
