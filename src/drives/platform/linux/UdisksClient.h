#pragma once

#include <QDBusConnection>
#include <QString>
#include <optional>

// Asks udisks2 over D-Bus to mount or unmount the file system of a block device, as
// the desktop's file manager does, so an ordinary user at the seat may. Every failure
// (no bus, no udisks, refused, busy) is an empty answer.
class UdisksClient {
public:
    // The system bus, connected on first use.
    UdisksClient();
    explicit UdisksClient(const QDBusConnection &bus);

    // The mount point, or nothing.
    std::optional<QString> mount(const QString &device);
    bool unmount(const QString &device);

private:
    QDBusConnection bus() const;
    // udisks2's object of the block device, /org/freedesktop/UDisks2/block_devices/sr0.
    std::optional<QString> blockObject(const QString &device);

    std::optional<QDBusConnection> m_bus;
};
