#pragma once

#include "DbError.h"

#include <QSqlDatabase>
#include <QSqlError>

// A transaction on one connection that is rolled back unless commit() was reached, so an
// exception on the way leaves the catalogue as it was.
class TransactionScope {
public:
    explicit TransactionScope(const QSqlDatabase &db)
        : m_db(db)
    {
        if (!m_db.transaction())
            throw DbError(m_db.lastError().databaseText());
    }
    ~TransactionScope()
    {
        if (!m_done)
            m_db.rollback();
    }
    TransactionScope(const TransactionScope &) = delete;
    TransactionScope &operator=(const TransactionScope &) = delete;

    void commit()
    {
        if (!m_db.commit())
            throw DbError(m_db.lastError().databaseText());
        m_done = true;
    }

private:
    QSqlDatabase m_db;
    bool m_done = false;
};
