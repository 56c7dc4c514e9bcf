#include "UdevMediaMonitor.h"

#include <QFile>
#include <QSocketNotifier>

UdevMediaMonitor::UdevMediaMonitor(QObject *parent)
    : MediaEventSource(parent)
{
}

UdevMediaMonitor::~UdevMediaMonitor() = default;

bool UdevMediaMonitor::hasMedium(udev_device *device) const
{
    const char *media = udev_device_get_property_value(device, "ID_CDROM_MEDIA");
    return media && qstrcmp(media, "1") == 0;
}

bool UdevMediaMonitor::watch(const QList<OpticalDevice> &drives)
{
    if (drives.isEmpty())
        return true;
    m_udev.reset(udev_new());
    m_monitor.reset(m_udev ? udev_monitor_new_from_netlink(m_udev.get(), "udev") : nullptr);
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor.get(), "block", "disk") < 0 ||
        udev_monitor_enable_receiving(m_monitor.get()) < 0)
        return false;
    for (const OpticalDevice &drive : drives) {
        const UdevPtr<udev_device> device(
            udev_device_new_from_subsystem_sysname(m_udev.get(), "block", QFile::encodeName(drive.sysName)));
        m_drives.insert(drive.sysName, Watched{drive.node, device && hasMedium(device.get())});
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor.get()), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevMediaMonitor::drain);
    return true;
}

void UdevMediaMonitor::drain()
{
    QList<MediaChange> changes;
    while (const UdevPtr<udev_device> device{udev_monitor_receive_device(m_monitor.get())}) {
        const auto found = m_drives.find(QFile::decodeName(udev_device_get_sysname(device.get())));
        if (found == m_drives.end())
            continue;
        const char *action = udev_device_get_action(device.get());
        const bool present = qstrcmp(action, "remove") != 0 && hasMedium(device.get());
        if (present != found->present) {
            found->present = present;
            changes.append(MediaChange{found->node, present});
        }
    }
    if (!changes.isEmpty())
        emit mediaChanged(changes);
}
