#include "UdevOpticalDrives.h"

#include "SysfsOpticalDrives.h"
#include "UdevPtr.h"

#include <QFile>

UdevOpticalDrives::UdevOpticalDrives(QString sysRoot)
    : m_sysRoot(std::move(sysRoot))
{
}

QList<OpticalDevice> UdevOpticalDrives::drives()
{
    QList<OpticalDevice> result = fromUdev();
    return result.isEmpty() ? SysfsOpticalDrives(m_sysRoot).drives() : result;
}

QList<OpticalDevice> UdevOpticalDrives::fromUdev()
{
    QList<OpticalDevice> result;
    const UdevPtr<udev> context(udev_new());
    const UdevPtr<udev_enumerate> scan(context ? udev_enumerate_new(context.get()) : nullptr);
    if (!scan)
        return result;
    udev_enumerate_add_match_subsystem(scan.get(), "block");
    udev_enumerate_add_match_property(scan.get(), "ID_CDROM", "1");
    udev_enumerate_scan_devices(scan.get());
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get()))
    {
        const UdevPtr<udev_device> device(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        const char *type = device ? udev_device_get_devtype(device.get()) : nullptr;
        const char *node = device ? udev_device_get_devnode(device.get()) : nullptr;
        if (!type || qstrcmp(type, "disk") != 0 || !node)
            continue;
        const char *path = udev_device_get_property_value(device.get(), "ID_PATH");
        result.append(OpticalDevice{QFile::decodeName(node), QFile::decodeName(udev_device_get_sysname(device.get())),
                                    quint64(udev_device_get_devnum(device.get())),
                                    QFile::decodeName(path ? path : udev_device_get_syspath(device.get()))});
    }
    sortByPath(result);
    return result;
}
