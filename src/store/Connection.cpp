#include "Connection.h"

#include "DbError.h"
#include "SqlFunctions.h"
#include "Statement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

TConnection::TConnection(const QString &connectionName)
    : m_name(connectionName)
{
}

TConnection::~TConnection()
{
    Close();
    QSqlDatabase::removeDatabase(m_name);
}

void TConnection::Open(const QString &path)
{
    Close();
    if (!QFileInfo(path).isFile())
        throw DbError(QCoreApplication::translate("Connection", "找不到数据库文件：%1").arg(path));
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(u"QSQLITE"_s, m_name);
    // mode=rw: open the file as it is and never create one in its place.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(u"mode=rw"_s);
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"_s);
    if (!db.open())
        throw DbError(QCoreApplication::translate("Connection", "%1：%2").arg(engineMessage(db.lastError()), path));
    QSqlQuery pragma(db);
    if (!pragma.exec(u"PRAGMA foreign_keys = ON"_s) || !registerSqlFunctions(db)) {
        const QString message = engineMessage(pragma.lastError());
        pragma = QSqlQuery();
        db.close();
        throw DbError(message.isEmpty() ? QCoreApplication::translate("Connection", "无法注册数据库函数") : message);
    }
}

void TConnection::Close()
{
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::database(m_name, false).close();
}

bool TConnection::Connected() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

void TConnection::BeginTrans()
{
    beginTransaction(m_name);
}

void TConnection::CommitTrans()
{
    commitTransaction(m_name);
}

void TConnection::RollbackTrans()
{
    rollbackTransaction(m_name);
}

void TConnection::releaseMemory()
{
    if (sqlite3 *handle = nativeSqliteHandle(QSqlDatabase::database(m_name, false)))
        sqlite3_db_release_memory(handle);
}
