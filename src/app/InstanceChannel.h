#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// The running window's ear for later starts of the same catalogue: a local socket beside
// the instance lock. Only processes of the same user are heard; anyone else is cut off.
class InstanceServer : public QObject {
    Q_OBJECT

public:
    explicit InstanceServer(QObject *parent = nullptr);
    ~InstanceServer() override;

    // Listens at path (a stale socket left there by a killed run is replaced: the caller
    // holds the instance lock). False, with the reason in the log, when it cannot.
    bool listen(const QString &path);

signals:
    // A second start asked for the window to come to the front.
    void activationRequested();

private:
    void answer();

    QLocalServer *m_server;
};

namespace InstanceChannel {
// Asks the window that holds the catalogue to come to the front: true once it has
// confirmed. False when nobody of this user answers within timeoutMs.
bool askToActivate(const QString &path, int timeoutMs = 5000);
} // namespace InstanceChannel
