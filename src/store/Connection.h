#pragma once

#include <QString>

// The one connection to the catalogue file. It opens an existing SQLite file by its
// path (it never creates one), switches on the foreign keys that cascade deletions, and
// registers the program's SQL functions.
class TConnection {
public:
    explicit TConnection(const QString &connectionName);
    ~TConnection();
    TConnection(const TConnection &) = delete;
    TConnection &operator=(const TConnection &) = delete;

    QString connectionName() const { return m_name; }
    // Throws DbError with the engine's message.
    void Open(const QString &path);
    void Close();
    bool Connected() const;

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    // Gives back the engine's page cache after a long read.
    void releaseMemory();

private:
    QString m_name;
};
