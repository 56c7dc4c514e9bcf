#include "DeviceOpticalDrive.h"

DeviceOpticalDrive::DeviceOpticalDrive(OpticalDevice device, std::shared_ptr<DriveControl> control,
                                       std::shared_ptr<MountService> mounts)
    : m_device(std::move(device))
    , m_control(std::move(control))
    , m_mounts(std::move(mounts))
{
}

bool DeviceOpticalDrive::mediumReady()
{
    return m_control->status(m_device.node).ready();
}

std::unique_ptr<SectorReader> DeviceOpticalDrive::openMedium()
{
    return m_control->openDisc(m_device.node);
}

std::optional<MountEntry> DeviceOpticalDrive::mounted()
{
    return m_mounts->mountOf(m_device.number);
}

std::optional<MountEntry> DeviceOpticalDrive::mountedView()
{
    if (!mediumReady())
        return std::nullopt;
    return m_mounts->mount(m_device.node, m_device.number);
}

bool DeviceOpticalDrive::eject()
{
    if (mounted() && !m_mounts->unmount(m_device.node))
        return false;
    return m_control->eject(m_device.node) == 0;
}

bool DeviceOpticalDrive::closeTray()
{
    return m_control->closeTray(m_device.node) == 0;
}
