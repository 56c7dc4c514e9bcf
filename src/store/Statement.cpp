#include "Statement.h"

#include "DbError.h"

#include <QSqlDatabase>
#include <QSqlError>

QString engineMessage(const QSqlError &error)
{
    const QString db = error.databaseText();
    return db.isEmpty() ? error.text() : db;
}

void prepareStatement(QSqlQuery &query, const QString &text)
{
    if (!query.prepare(text))
        throw DbError(engineMessage(query.lastError()));
}

void bindAndRun(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throw DbError(engineMessage(query.lastError()));
}

void runStatement(QSqlQuery &query, const QString &text, const QVariantList &values)
{
    prepareStatement(query, text);
    bindAndRun(query, values);
}

QSqlQuery runStatement(const QString &connectionName, const QString &text, const QVariantList &values)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    runStatement(query, text, values);
    return query;
}

void beginTransaction(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!db.transaction())
        throw DbError(engineMessage(db.lastError()));
}

void commitTransaction(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!db.commit())
        throw DbError(engineMessage(db.lastError()));
}

void rollbackTransaction(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!db.rollback())
        throw DbError(engineMessage(db.lastError()));
}
