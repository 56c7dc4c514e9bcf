#pragma once

#include <QString>

// The per-user lock that lets one instance run per session. The lock is held for the
// whole run; the kernel releases it when the process ends, however it ends.
class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another instance holds the lock.
    bool acquire();
    static QString lockPath();

private:
    static int openOwnLockFile(const QString &path);

    int m_fd = -1;
};
