#pragma once

#include "Connection.h"

// A transaction on the connection for the life of the object: what was not committed
// when it ends (an error thrown, a stop request, a return) is rolled back.
class Transaction {
public:
    explicit Transaction(TConnection &connection)
        : m_connection(connection)
    {
        m_connection.BeginTrans();
    }
    ~Transaction()
    {
        if (m_open) {
            try {
                m_connection.RollbackTrans();
            } catch (...) {
                // The engine rolls back by itself what it cannot keep; nothing is left to do.
            }
        }
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit()
    {
        m_connection.CommitTrans();
        m_open = false;
    }

private:
    TConnection &m_connection;
    bool m_open = true;
};
