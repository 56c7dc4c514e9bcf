#include "SearchIndex.h"

#include "DbError.h"
#include "TransactionScope.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kComplete = std::numeric_limits<qint64>::max();

struct IndexedColumn {
    QString table;
    QString column;
};
const IndexedColumn kColumns[] = {{u"SearchName"_s, u"FileName"_s}, {u"SearchPath"_s, u"FilePath"_s}};

// The text a value is indexed as. Built-in functions only, so that the sqlite3 command can
// write file records too; upper() changes the ASCII letters alone.
QString indexedText(const QString &value)
{
    return u"upper(%1) || char(1, 1)"_s.arg(value);
}

const QString kIndexed = u"(SELECT watermark FROM SearchIndexState)"_s;

QString triggerStatements(const QString &rowPrefix, const QString &command, const QString &condition)
{
    QString body;
    for (const IndexedColumn &c : kColumns) {
        const QString target = command.isEmpty() ? u"%1(rowid, %2)"_s.arg(c.table, c.column)
                                                 : u"%1(%1, rowid, %2)"_s.arg(c.table, c.column);
        const QString values = command.isEmpty() ? QString() : command + u", "_s;
        body += u"  INSERT INTO %1 SELECT %2%3.rowid, %4%5;\n"_s.arg(
            target, values, rowPrefix, indexedText(rowPrefix + u'.' + c.column), condition);
    }
    return body;
}

QSqlQuery run(const QString &connectionName, const QString &text, const QVariantList &values = {})
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    if (!query.prepare(text))
        throw DbError(query.lastError().databaseText());
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throw DbError(query.lastError().databaseText());
    return query;
}

qint64 single(const QString &connectionName, const QString &text, const QVariantList &values = {})
{
    QSqlQuery query = run(connectionName, text, values);
    return query.next() ? query.value(0).toLongLong() : 0;
}

} // namespace

QStringList SearchIndex::createStatements(bool complete)
{
    QStringList statements{
        u"CREATE TABLE SearchIndexState (watermark INTEGER NOT NULL)"_s,
        u"INSERT INTO SearchIndexState VALUES (%1)"_s.arg(complete ? kComplete : 0),
    };
    for (const IndexedColumn &c : kColumns)
        statements << u"CREATE VIRTUAL TABLE %1 USING fts5(%2, content='', tokenize='trigram case_sensitive 1', "
                      "detail=none, columnsize=0)"_s.arg(c.table, c.column);
    const QString oldIndexed = u" WHERE old.rowid <= "_s + kIndexed;
    const QString newIndexed = u" WHERE new.rowid <= "_s + kIndexed;
    statements << u"CREATE TRIGGER SearchIndexAdd AFTER INSERT ON CdRomListDt BEGIN\n%1END"_s.arg(
                      triggerStatements(u"new"_s, QString(), newIndexed))
               << u"CREATE TRIGGER SearchIndexRemove AFTER DELETE ON CdRomListDt BEGIN\n%1END"_s.arg(
                      triggerStatements(u"old"_s, u"'delete'"_s, oldIndexed))
               << u"CREATE TRIGGER SearchIndexChange AFTER UPDATE ON CdRomListDt BEGIN\n%1%2END"_s.arg(
                      triggerStatements(u"old"_s, u"'delete'"_s, oldIndexed),
                      triggerStatements(u"new"_s, QString(), newIndexed));
    return statements;
}

void SearchIndex::remove(const QString &connectionName)
{
    TransactionScope transaction(QSqlDatabase::database(connectionName, false));
    for (const QString &trigger : {u"SearchIndexAdd"_s, u"SearchIndexRemove"_s, u"SearchIndexChange"_s})
        run(connectionName, u"DROP TRIGGER IF EXISTS "_s + trigger);
    for (const IndexedColumn &c : kColumns)
        run(connectionName, u"DROP TABLE IF EXISTS "_s + c.table);
    run(connectionName, u"DROP TABLE IF EXISTS SearchIndexState"_s);
    run(connectionName, u"PRAGMA user_version = 1"_s);
    transaction.commit();
}

bool SearchIndex::complete(const QString &connectionName)
{
    try {
        return single(connectionName, u"SELECT watermark FROM SearchIndexState"_s) == kComplete;
    } catch (const DbError &) {
        return false; // a catalogue without the index
    }
}

SearchIndex::Progress SearchIndex::progress(const QString &connectionName)
{
    Progress progress;
    progress.indexedUpTo = single(connectionName, u"SELECT watermark FROM SearchIndexState"_s);
    progress.complete = progress.indexedUpTo == kComplete;
    progress.lastRow = single(connectionName, u"SELECT ifnull(max(rowid), 0) FROM CdRomListDt"_s);
    return progress;
}

SearchIndex::Progress SearchIndex::buildBatch(const QString &connectionName, int maxRows)
{
    TransactionScope transaction(QSqlDatabase::database(connectionName, false));
    const qint64 from = single(connectionName, u"SELECT watermark FROM SearchIndexState"_s);
    if (from != kComplete) {
        QSqlQuery last = run(connectionName,
                             u"SELECT max(rowid) FROM (SELECT rowid FROM CdRomListDt WHERE rowid > ? "
                             "ORDER BY rowid LIMIT ?)"_s,
                             {from, maxRows});
        const bool rowsLeft = last.next() && !last.value(0).isNull();
        const qint64 to = rowsLeft ? last.value(0).toLongLong() : kComplete;
        for (const IndexedColumn &c : kColumns)
            run(connectionName,
                u"INSERT INTO %1(rowid, %2) SELECT rowid, %3 FROM CdRomListDt WHERE rowid > ? AND rowid <= ?"_s.arg(
                    c.table, c.column, indexedText(c.column)),
                {from, to});
        run(connectionName, u"UPDATE SearchIndexState SET watermark = ?"_s, {to});
    }
    transaction.commit();
    return progress(connectionName);
}

QString SearchIndex::table(Column column)
{
    return kColumns[column == Column::Name ? 0 : 1].table;
}

bool SearchIndex::termsStartingWith(const QString &connectionName, Column column, const QString &prefix, int maxTerms,
                                    qint64 maxRows, QStringList &terms)
{
    const QString vocabulary = table(column) + u"Terms"_s;
    run(connectionName,
        u"CREATE VIRTUAL TABLE IF NOT EXISTS temp.%1 USING fts5vocab(main, %2, row)"_s.arg(vocabulary, table(column)));
    // Every term that begins with prefix sorts between it and prefix followed by the
    // highest character.
    QSqlQuery found =
        run(connectionName, u"SELECT term, doc FROM temp.%1 WHERE term >= ? AND term < ? LIMIT ?"_s.arg(vocabulary),
            {prefix, prefix + QString::fromUcs4(U"\U0010FFFF"), maxTerms + 1});
    terms.clear();
    qint64 rows = 0;
    while (found.next()) {
        terms.append(found.value(0).toString());
        rows += found.value(1).toLongLong();
        if (terms.size() > maxTerms || rows > maxRows)
            return false;
    }
    return true;
}
