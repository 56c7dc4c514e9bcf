#pragma once

#include <QString>

class TConnection;

// A transaction on one connection for the life of the object: what was not committed when
// it ends (an error thrown, a stop request, a return) is rolled back, so the catalogue is
// left as it was.
class Transaction {
public:
    explicit Transaction(const QString &connectionName);
    explicit Transaction(const TConnection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    QString m_connectionName;
    bool m_open = true;
};
