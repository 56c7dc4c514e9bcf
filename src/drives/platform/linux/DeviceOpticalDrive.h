#pragma once

#include "DriveControl.h"
#include "MountService.h"
#include "OpticalDevice.h"
#include "OpticalDrive.h"

// A drive of the machine, reached through its device node.
class DeviceOpticalDrive : public OpticalDrive {
public:
    DeviceOpticalDrive(OpticalDevice device, std::shared_ptr<DriveControl> control,
                       std::shared_ptr<MountService> mounts);

    QString device() const override { return m_device.node; }
    bool mediumReady() override;
    std::unique_ptr<SectorReader> openMedium() override;
    std::optional<MountEntry> mounted() override;
    std::optional<MountEntry> mountedView() override;
    // A mounted disc is unmounted first; a disc that stays mounted keeps the tray shut.
    bool eject() override;
    bool closeTray() override;

private:
    OpticalDevice m_device;
    std::shared_ptr<DriveControl> m_control;
    std::shared_ptr<MountService> m_mounts;
};
