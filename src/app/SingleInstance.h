#pragma once

#include <QString>

// The per-user lock that lets one window run per catalogue. The lock is held for the
// whole run; the kernel releases it when the process ends, however it ends. Beside it
// lies the socket on which the running window hears a second start's request to come
// to the front.
class SingleInstance {
public:
    explicit SingleInstance(const QString &catalogueFile);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another instance holds the lock of this catalogue.
    bool acquire();
    QString lockPath() const { return m_base + QStringLiteral(".lock"); }
    QString socketPath() const { return m_base + QStringLiteral(".socket"); }

    // The folder and name both files begin with, one per catalogue file however it is
    // named (a link or a relative path names the same catalogue as its real path).
    static QString basePath(const QString &catalogueFile);

private:
    static int openOwnLockFile(const QString &path);

    QString m_base;
    int m_fd = -1;
};
