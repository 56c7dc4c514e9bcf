#include "SystemMountService.h"

#include "MountInfoTable.h"

SystemMountService::SystemMountService(QString mountInfoPath, UdisksClient udisks)
    : m_mountInfoPath(std::move(mountInfoPath))
    , m_udisks(std::move(udisks))
{
}

std::optional<MountEntry> SystemMountService::mountOf(quint64 deviceNumber)
{
    return MountInfoTable::read(m_mountInfoPath).find(deviceNumber);
}

std::optional<MountEntry> SystemMountService::mount(const QString &device, quint64 deviceNumber)
{
    if (auto existing = mountOf(deviceNumber))
        return existing;
    const auto path = m_udisks.mount(device);
    if (!path)
        return std::nullopt;
    // The table also names the file-system type; udisks' answer stands in if it lags.
    if (auto made = mountOf(deviceNumber))
        return made;
    return MountEntry{*path, device, {}, true, true};
}

bool SystemMountService::unmount(const QString &device)
{
    return m_udisks.unmount(device);
}
