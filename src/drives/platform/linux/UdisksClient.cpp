#include "UdisksClient.h"

#include "DrivesLog.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>

using namespace Qt::StringLiterals;

namespace {
const QString kService = u"org.freedesktop.UDisks2"_s;
const QString kFilesystem = u"org.freedesktop.UDisks2.Filesystem"_s;

bool failed(const QDBusMessage &reply, const QString &device)
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return false;
    qCInfo(lcDrives).noquote() << device << reply.errorName() << reply.errorMessage();
    return true;
}
} // namespace

UdisksClient::UdisksClient() = default;

UdisksClient::UdisksClient(const QDBusConnection &bus)
    : m_bus(bus)
{
}

QDBusConnection UdisksClient::bus() const
{
    return m_bus ? *m_bus : QDBusConnection::systemBus();
}

std::optional<QString> UdisksClient::blockObject(const QString &device)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, u"/org/freedesktop/UDisks2/Manager"_s,
                                                       u"org.freedesktop.UDisks2.Manager"_s, u"ResolveDevice"_s);
    call << QVariantMap{{u"path"_s, device}} << QVariantMap{};
    const QDBusMessage reply = bus().call(call);
    if (failed(reply, device) || reply.arguments().isEmpty())
        return std::nullopt;
    const auto objects = qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().constFirst());
    if (objects.isEmpty())
        return std::nullopt;
    return objects.constFirst().path();
}

std::optional<QString> UdisksClient::mount(const QString &device)
{
    const auto object = blockObject(device);
    if (!object)
        return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, *object, kFilesystem, u"Mount"_s);
    call << QVariantMap{};
    const QDBusMessage reply = bus().call(call);
    if (failed(reply, device) || reply.arguments().isEmpty())
        return std::nullopt;
    const QString path = reply.arguments().constFirst().toString();
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

bool UdisksClient::unmount(const QString &device)
{
    const auto object = blockObject(device);
    if (!object)
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, *object, kFilesystem, u"Unmount"_s);
    call << QVariantMap{};
    return !failed(bus().call(call), device);
}
