#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

class QSqlError;

// The one way the store sends a statement: prepared, its values bound by position, run,
// and every failure thrown as DbError with the engine's message.

// The engine's message, or Qt's own where the engine gave none.
QString engineMessage(const QSqlError &error);

void prepareStatement(QSqlQuery &query, const QString &text);
// Runs the prepared statement of query with these values.
void bindAndRun(QSqlQuery &query, const QVariantList &values);
// Prepares and runs text on a query the caller keeps (to read its rows or run it again).
void runStatement(QSqlQuery &query, const QString &text, const QVariantList &values = {});
// Prepares and runs text on a query of its own on the named connection.
QSqlQuery runStatement(const QString &connectionName, const QString &text, const QVariantList &values = {});

void beginTransaction(const QString &connectionName);
void commitTransaction(const QString &connectionName);
void rollbackTransaction(const QString &connectionName);
