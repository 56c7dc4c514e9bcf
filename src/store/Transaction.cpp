#include "Transaction.h"

#include "Connection.h"
#include "Statement.h"

Transaction::Transaction(const QString &connectionName)
    : m_connectionName(connectionName)
{
    beginTransaction(m_connectionName);
}

Transaction::Transaction(const TConnection &connection)
    : Transaction(connection.connectionName())
{
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    try {
        rollbackTransaction(m_connectionName);
    } catch (...) {
        // The engine rolls back by itself what it cannot keep; nothing is left to do.
    }
}

void Transaction::commit()
{
    commitTransaction(m_connectionName);
    m_open = false;
}
