#pragma once

#include "MediaEventSource.h"
#include "UdevPtr.h"

#include <QHash>

class QSocketNotifier;

// udev's events for block disks, read as they come in a socket notifier. A drive's
// ID_CDROM_MEDIA going from unset to 1 is an arrival, from 1 to unset a removal; a
// drive that goes away loses its medium.
class UdevMediaMonitor : public MediaEventSource {
    Q_OBJECT
public:
    explicit UdevMediaMonitor(QObject *parent = nullptr);
    ~UdevMediaMonitor() override;

    bool watch(const QList<OpticalDevice> &drives) override;

private:
    void drain();
    bool hasMedium(udev_device *device) const;

    struct Watched {
        QString node;
        bool present = false;
    };
    UdevPtr<udev> m_udev;
    UdevPtr<udev_monitor> m_monitor;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QString, Watched> m_drives; // by the kernel's name
};
