#pragma once

#include "MediaEventSource.h"

#include <memory>

// Watches every optical drive one way: by udev's events where udev runs and the kernel
// polls the drive for media changes, else by asking the drive every two seconds.
class OpticalMediaWatch : public MediaEventSource {
    Q_OBJECT
public:
    // Where the machine shows its state: sysfs, and the socket udev listens on while it
    // runs.
    struct Machine {
        QString sysRoot = QStringLiteral("/sys");
        QString udevControl = QStringLiteral("/run/udev/control");
    };

    OpticalMediaWatch(std::unique_ptr<MediaEventSource> udevEvents, std::unique_ptr<MediaEventSource> poller,
                      Machine machine, QObject *parent = nullptr);

    bool watch(const QList<OpticalDevice> &drives) override;

    // Whether the kernel polls a drive: it reports media changes, and its own
    // events_poll_msecs, or where that is -1 the default events_dfl_poll_msecs, is above 0.
    static bool kernelPolls(const QString &sysRoot, const QString &sysName);

private:
    std::unique_ptr<MediaEventSource> m_udevEvents;
    std::unique_ptr<MediaEventSource> m_poller;
    Machine m_machine;
};
