#pragma once

#include <QString>

// The lock that makes one running program the only user of a catalogue: a regular file
// beside the catalogue (its name with ".lock" appended, readable and writable by everyone)
// locked with flock for as long as this object lives; whoever takes it writes its process
// id and user name into it. The catalogue file itself is never locked here; its locks
// belong to SQLite.
class CatalogueLock {
public:
    enum class State {
        Held,   // this program holds the lock
        InUse,  // another program holds it; holder() names its user
        Failed, // the lock file cannot be opened or is not a regular file; reason() says why
    };

    explicit CatalogueLock(const QString &catalogueFile);
    ~CatalogueLock();
    CatalogueLock(const CatalogueLock &) = delete;
    CatalogueLock &operator=(const CatalogueLock &) = delete;

    State state() const { return m_state; }
    // The user of the program that holds the lock while another program holds it.
    QString holder() const { return m_holder; }
    // Why the lock could not be taken (the system's message), when it failed.
    QString reason() const { return m_reason; }
    static QString lockFileOf(const QString &catalogueFile);

private:
    bool openLockFile(const QByteArray &path);
    void writeOwner();
    void readHolder();

    int m_fd = -1;
    bool m_writable = false;
    State m_state = State::Failed;
    QString m_holder;
    QString m_reason;
};
