#pragma once

// A Linux platform on a scripted machine with one optical drive (d), the root file system
// and /home, to which a test attaches images as virtual drives.
#include "OpticalFakes.h"
#include "drives/platform/linux/LinuxPlatform.h"

#include <sys/sysmacros.h>

struct VirtualDriveRig {
    std::shared_ptr<FakeDriveControl> control = std::make_shared<FakeDriveControl>();
    std::unique_ptr<LinuxPlatform> platform;

    VirtualDriveRig()
    {
        LinuxPlatform::Parts parts = LinuxPlatform::Parts::system();
        auto mounts = std::make_unique<ScriptedMounts>();
        mounts->list = {
            MountEntry{QStringLiteral("/"), QStringLiteral("/dev/vda1"), QStringLiteral("ext4"), false, true},
            MountEntry{QStringLiteral("/home"), QStringLiteral("/dev/vda2"), QStringLiteral("ext4"), false, true}};
        parts.mounts = std::move(mounts);
        auto optical = std::make_unique<ScriptedOpticalDrives>();
        optical->list = {OpticalDevice{QStringLiteral("/dev/sr0"), QStringLiteral("sr0"), makedev(11, 0),
                                       QStringLiteral("pci-0000:00:1f.2-ata-1")}};
        parts.optical = std::move(optical);
        parts.control = control;
        parts.discMounts = std::make_shared<FakeMountService>();
        parts.mediaEvents = std::make_unique<ScriptedMediaSource>();
        platform = std::make_unique<LinuxPlatform>(std::move(parts));
    }
};
