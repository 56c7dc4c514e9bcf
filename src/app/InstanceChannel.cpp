#include "InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QThread>

#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcInstance, "quillon.instance")

namespace {

constexpr char kActivate[] = "activate\n";
constexpr char kDone[] = "ok\n";

// Whether the process at the other end of the socket runs as this user.
bool peerIsThisUser(const QLocalSocket &socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::getuid();
}

} // namespace

InstanceServer::InstanceServer(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::answer);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString &path)
{
    QLocalServer::removeServer(path);
    if (m_server->listen(path))
        return true;
    qCWarning(lcInstance) << "a second start cannot reach this window:" << path << m_server->errorString();
    return false;
}

void InstanceServer::answer()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine(64) == kActivate) {
                qCInfo(lcInstance, "a second start asked for this window");
                emit activationRequested();
                socket->write(kDone);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

bool InstanceChannel::askToActivate(const QString &path, int timeoutMs)
{
    // The running program listens a moment after it took the lock: try again meanwhile.
    QLocalSocket socket;
    QDeadlineTimer deadline(timeoutMs);
    for (socket.connectToServer(path); !socket.waitForConnected(int(deadline.remainingTime()));
         socket.connectToServer(path)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    if (!peerIsThisUser(socket))
        return false;
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine(64) == kDone;
}
