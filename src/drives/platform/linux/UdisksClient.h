#pragma once

#include <QDBusConnection>
#include <QString>
#include <optional>

class QDBusMessage;

// Asks udisks2 over D-Bus to mount or unmount the file system of a block device, as
// the desktop's file manager does, so an ordinary user at the seat may. Every failure
// (no bus, no udisks, refused, busy, no answer in time) is an empty answer. No call asks
// the user for a password, and none waits long: the window keeps handling its events
// while it waits.
class UdisksClient {
public:
    static constexpr int kDefaultTimeoutMs = 4000;

    // The system bus, connected on first use.
    UdisksClient();
    explicit UdisksClient(const QDBusConnection &bus, int timeoutMs = kDefaultTimeoutMs);

    // The mount point, or nothing.
    std::optional<QString> mount(const QString &device);
    bool unmount(const QString &device);

private:
    QDBusConnection bus() const;
    // udisks2's object of the block device, /org/freedesktop/UDisks2/block_devices/sr0.
    std::optional<QString> blockObject(const QString &device);
    // Sends the call and waits for its answer, running the event loop meanwhile.
    QDBusMessage send(const QDBusMessage &message) const;

    std::optional<QDBusConnection> m_bus;
    int m_timeoutMs = kDefaultTimeoutMs;
};
