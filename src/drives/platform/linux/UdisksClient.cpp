#include "UdisksClient.h"

#include "DrivesLog.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>

using namespace Qt::StringLiterals;

namespace {
const QString kService = u"org.freedesktop.UDisks2"_s;
const QString kFilesystem = u"org.freedesktop.UDisks2.Filesystem"_s;

// udisks asks for a password through polkit when a call may; a tray command must never
// wait for one, so a call that would need it is refused at once.
QVariantMap options()
{
    return QVariantMap{{u"auth.no_user_interaction"_s, true}};
}

bool failed(const QDBusMessage &reply, const QString &device)
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return false;
    qCInfo(lcDrives).noquote() << device << reply.errorName() << reply.errorMessage();
    return true;
}
} // namespace

UdisksClient::UdisksClient() = default;

UdisksClient::UdisksClient(const QDBusConnection &bus, int timeoutMs)
    : m_bus(bus)
    , m_timeoutMs(timeoutMs)
{
}

QDBusConnection UdisksClient::bus() const
{
    return m_bus ? *m_bus : QDBusConnection::systemBus();
}

QDBusMessage UdisksClient::send(const QDBusMessage &message) const
{
    if (!QCoreApplication::instance())
        return bus().call(message, QDBus::Block, m_timeoutMs);
    QDBusPendingCallWatcher watcher(bus().asyncCall(message, m_timeoutMs));
    if (!watcher.isFinished()) {
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return watcher.reply();
}

std::optional<QString> UdisksClient::blockObject(const QString &device)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, u"/org/freedesktop/UDisks2/Manager"_s,
                                                       u"org.freedesktop.UDisks2.Manager"_s, u"ResolveDevice"_s);
    call << QVariantMap{{u"path"_s, device}} << options();
    const QDBusMessage reply = send(call);
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
    call << options();
    const QDBusMessage reply = send(call);
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
    call << options();
    return !failed(send(call), device);
}
