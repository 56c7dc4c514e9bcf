#pragma once

#include <QString>

// The lock that makes one running program the only user of a catalogue: a file beside
// the catalogue (its name with ".lock" appended, readable by everyone) locked with flock
// for as long as this object lives, holding the owner's process id and user name. The
// catalogue file itself is never locked here; its locks belong to SQLite.
class CatalogueLock {
public:
    enum class State {
        Held,     // this program holds the lock
        InUse,    // another program holds it; holder() names its user
        Unlocked, // no lock file can be made here (a read-only folder): nothing is held
    };

    explicit CatalogueLock(const QString &catalogueFile);
    ~CatalogueLock();
    CatalogueLock(const CatalogueLock &) = delete;
    CatalogueLock &operator=(const CatalogueLock &) = delete;

    State state() const { return m_state; }
    // The user name the lock file names while another program holds it.
    QString holder() const { return m_holder; }
    static QString lockFileOf(const QString &catalogueFile);

private:
    void writeOwner();
    void readHolder();

    int m_fd = -1;
    State m_state = State::Unlocked;
    QString m_holder;
};
