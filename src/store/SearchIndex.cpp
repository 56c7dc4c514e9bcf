#include "SearchIndex.h"

#include "DbError.h"
#include "Statement.h"
#include "Transaction.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <functional>
#include <span>

using namespace Qt::StringLiterals;

namespace {

struct IndexedColumn {
    QString table;
    QString column;
};
const IndexedColumn kColumns[] = {{u"SearchName"_s, u"FileName"_s}, {u"SearchPath"_s, u"FilePath"_s}};
const IndexedColumn kReadingColumns[] = {{u"SearchNameReading"_s, u"FileName"_s},
                                         {u"SearchPathReading"_s, u"FilePath"_s}};

QString createTable(const QString &table, const QString &column)
{
    return u"CREATE VIRTUAL TABLE %1 USING fts5(%2, content='', tokenize='trigram case_sensitive 1', "
           "detail=none, columnsize=0)"_s.arg(table, column);
}

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

qint64 single(const QString &connectionName, const QString &text, const QVariantList &values = {})
{
    QSqlQuery query = runStatement(connectionName, text, values);
    return query.next() ? query.value(0).toLongLong() : 0;
}

// Below this many, stale readings cost too little to rebuild for.
constexpr qint64 kFewStaleReadings = 1000;

// Whether the stale readings pass a quarter of the live rows. Counting stops at four times
// their number, and the answer is kept while the state is the same, so the builder's polls
// and the searches do not count again.
bool readingsWorn(const QString &connectionName, const SearchIndex::Progress &progress)
{
    if (progress.staleReadings <= kFewStaleReadings)
        return false;
    struct Known {
        qint64 stale, readUpTo, lastRow;
        bool worn;
    };
    static QHash<QString, Known> known;
    const auto found = known.constFind(connectionName);
    if (found != known.cend() && found->stale == progress.staleReadings && found->readUpTo == progress.readUpTo &&
        found->lastRow == progress.lastRow)
        return found->worn;
    const qint64 bound = progress.staleReadings * 4;
    const bool worn =
        single(connectionName, u"SELECT count(*) FROM (SELECT 1 FROM CdRomListDt LIMIT ?)"_s, {bound}) < bound;
    known.insert(connectionName, {progress.staleReadings, progress.readUpTo, progress.lastRow, worn});
    return worn;
}

} // namespace

QStringList SearchIndex::createStatements()
{
    QStringList statements{
        u"CREATE TABLE SearchIndexState (watermark INTEGER NOT NULL)"_s,
        u"INSERT INTO SearchIndexState VALUES (0)"_s,
    };
    for (const IndexedColumn &c : kColumns)
        statements << createTable(c.table, c.column);
    const QString oldIndexed = u" WHERE old.rowid <= "_s + kIndexed;
    const QString newIndexed = u" WHERE new.rowid <= "_s + kIndexed;
    // A new record normally lands above the watermark. One below it (the records above were
    // deleted, or the sqlite3 command chose its rowid) moves the watermark down to it when
    // no record is above it, else is indexed at once.
    const QString lowerWatermark = u"  UPDATE SearchIndexState SET watermark = new.rowid - 1 WHERE new.rowid <= "
                                   "watermark AND NOT EXISTS (SELECT 1 FROM CdRomListDt WHERE rowid > new.rowid);\n"_s;
    statements << u"CREATE TRIGGER SearchIndexAdd AFTER INSERT ON CdRomListDt BEGIN\n%1%2END"_s.arg(
                      lowerWatermark, triggerStatements(u"new"_s, QString(), newIndexed))
               << u"CREATE TRIGGER SearchIndexRemove AFTER DELETE ON CdRomListDt BEGIN\n%1END"_s.arg(
                      triggerStatements(u"old"_s, u"'delete'"_s, oldIndexed))
               << u"CREATE TRIGGER SearchIndexChange AFTER UPDATE ON CdRomListDt BEGIN\n%1%2END"_s.arg(
                      triggerStatements(u"old"_s, u"'delete'"_s, oldIndexed),
                      triggerStatements(u"new"_s, QString(), newIndexed));
    return statements;
}

QStringList SearchIndex::createReadingStatements()
{
    QStringList statements{
        u"CREATE TABLE SearchReadingState (watermark INTEGER NOT NULL, stale INTEGER NOT NULL)"_s,
        u"INSERT INTO SearchReadingState VALUES (0, 0)"_s,
    };
    for (const IndexedColumn &c : kReadingColumns)
        statements << createTable(c.table, u"Reading"_s);
    const QString read = u"(SELECT watermark FROM SearchReadingState)"_s;
    // Readings are the builder's work: a row written below the watermark (the rows above it
    // were deleted) lowers it; a changed row lowers it too, and what lay above counts as
    // left behind.
    statements << u"CREATE TRIGGER SearchReadingAdd AFTER INSERT ON CdRomListDt WHEN new.rowid <= %1 BEGIN\n"
                  "  UPDATE SearchReadingState SET watermark = new.rowid - 1;\nEND"_s.arg(read)
               << u"CREATE TRIGGER SearchReadingRemove AFTER DELETE ON CdRomListDt WHEN old.rowid <= %1 BEGIN\n"
                  "  UPDATE SearchReadingState SET stale = stale + 1;\nEND"_s.arg(read)
               << u"CREATE TRIGGER SearchReadingChange AFTER UPDATE OF FileName, FilePath ON CdRomListDt "
                  "WHEN old.rowid <= %1 BEGIN\n"
                  "  UPDATE SearchReadingState SET stale = stale + watermark - old.rowid + 1, "
                  "watermark = old.rowid - 1;\nEND"_s.arg(read);
    return statements;
}

void SearchIndex::remove(const QString &connectionName)
{
    Transaction transaction(connectionName);
    for (const QString &trigger : {u"SearchIndexAdd"_s, u"SearchIndexRemove"_s, u"SearchIndexChange"_s,
                                   u"SearchReadingAdd"_s, u"SearchReadingRemove"_s, u"SearchReadingChange"_s})
        runStatement(connectionName, u"DROP TRIGGER IF EXISTS "_s + trigger);
    for (const IndexedColumn &c : kColumns)
        runStatement(connectionName, u"DROP TABLE IF EXISTS "_s + c.table);
    for (const IndexedColumn &c : kReadingColumns)
        runStatement(connectionName, u"DROP TABLE IF EXISTS "_s + c.table);
    runStatement(connectionName, u"DROP TABLE IF EXISTS SearchIndexState"_s);
    runStatement(connectionName, u"DROP TABLE IF EXISTS SearchReadingState"_s);
    // Nor had it the later steps' tables.
    for (const QString &table : {u"DiscImportVolume"_s, u"DiscImport"_s, u"DiscDetails"_s, u"DiscLending"_s})
        runStatement(connectionName, u"DROP TABLE IF EXISTS "_s + table);
    runStatement(connectionName, u"DROP TRIGGER IF EXISTS FileChecksumRemove"_s);
    runStatement(connectionName, u"DROP TABLE IF EXISTS FileChecksum"_s);
    runStatement(connectionName, u"PRAGMA user_version = 1"_s);
    transaction.commit();
}

std::optional<SearchIndex::Progress> SearchIndex::progress(const QString &connectionName)
{
    Progress progress;
    try {
        progress.indexedUpTo = single(connectionName, u"SELECT watermark FROM SearchIndexState"_s);
        QSqlQuery readings = runStatement(connectionName, u"SELECT watermark, stale FROM SearchReadingState"_s);
        if (!readings.next())
            return std::nullopt;
        progress.readUpTo = readings.value(0).toLongLong();
        progress.staleReadings = readings.value(1).toLongLong();
    } catch (const DbError &) {
        return std::nullopt; // a catalogue without the index
    }
    progress.lastRow = single(connectionName, u"SELECT ifnull(max(rowid), 0) FROM CdRomListDt"_s);
    progress.worn = readingsWorn(connectionName, progress);
    return progress;
}

namespace {

// The last rowid of the next maxRows rows above from, or none.
std::optional<qint64> batchEnd(const QString &connectionName, qint64 from, int maxRows)
{
    QSqlQuery last = runStatement(connectionName,
                         u"SELECT max(rowid) FROM (SELECT rowid FROM CdRomListDt WHERE rowid > ? "
                         "ORDER BY rowid LIMIT ?)"_s,
                         {from, maxRows});
    if (!last.next() || last.value(0).isNull())
        return std::nullopt;
    return last.value(0).toLongLong();
}

// Adds the rows from from to the batch's end to the tables: the statement for each table's
// column, then the state table's watermark.
void addBatch(const QString &connectionName, qint64 from, int maxRows, std::span<const IndexedColumn> columns,
              const std::function<QString(const IndexedColumn &)> &insert, const QString &stateTable)
{
    const std::optional<qint64> to = batchEnd(connectionName, from, maxRows);
    if (!to)
        return;
    for (const IndexedColumn &c : columns)
        runStatement(connectionName, insert(c), {from, *to});
    runStatement(connectionName, u"UPDATE %1 SET watermark = ?"_s.arg(stateTable), {*to});
}

void indexBatch(const QString &connectionName, qint64 from, int maxRows)
{
    addBatch(
        connectionName, from, maxRows, kColumns,
        [](const IndexedColumn &c) {
            return u"INSERT INTO %1(rowid, %2) SELECT rowid, %3 FROM CdRomListDt WHERE rowid > ? AND rowid <= ?"_s.arg(
                c.table, c.column, indexedText(c.column));
        },
        u"SearchIndexState"_s);
}

// Pinyin() is the program's own function: the readings are written here, never by a trigger.
void readBatch(const QString &connectionName, qint64 from, int maxRows)
{
    addBatch(
        connectionName, from, maxRows, kReadingColumns,
        [](const IndexedColumn &c) {
            return u"INSERT INTO %1(rowid, Reading) SELECT rowid, reading FROM (SELECT rowid, Pinyin(%2, 2) AS "
                   "reading FROM CdRomListDt WHERE rowid > ? AND rowid <= ?) WHERE reading IS NOT NULL"_s.arg(
                       c.table, c.column);
        },
        u"SearchReadingState"_s);
}

void emptyReadings(const QString &connectionName)
{
    for (const IndexedColumn &c : kReadingColumns)
        runStatement(connectionName, u"INSERT INTO %1(%1) VALUES ('delete-all')"_s.arg(c.table));
    runStatement(connectionName, u"UPDATE SearchReadingState SET watermark = 0, stale = 0"_s);
}

} // namespace

SearchIndex::Progress SearchIndex::buildBatch(const QString &connectionName, int maxRows)
{
    Transaction transaction(connectionName);
    if (const std::optional<Progress> before = progress(connectionName)) {
        if (before->readingsWorn())
            emptyReadings(connectionName);
        else if (before->indexedUpTo < before->lastRow)
            indexBatch(connectionName, before->indexedUpTo, maxRows);
        else if (before->readUpTo < before->lastRow)
            readBatch(connectionName, before->readUpTo, maxRows);
    }
    transaction.commit();
    return progress(connectionName).value_or(Progress{});
}

QString SearchIndex::table(Column column)
{
    switch (column) {
    case Column::Name:
        return kColumns[0].table;
    case Column::Path:
        return kColumns[1].table;
    case Column::NameReading:
        return kReadingColumns[0].table;
    case Column::PathReading:
        break;
    }
    return kReadingColumns[1].table;
}

qint64 SearchIndex::rowsWithTerm(const QString &connectionName, Column column, const QString &quotedTerm,
                                 qint64 limit)
{
    return single(connectionName,
                  u"SELECT count(*) FROM (SELECT rowid FROM %1 WHERE %1 MATCH ? LIMIT ?)"_s.arg(table(column)),
                  {quotedTerm, limit});
}

bool SearchIndex::termsStartingWith(const QString &connectionName, Column column, const QString &prefix, int maxTerms,
                                    qint64 maxRows, QStringList &terms)
{
    const QString vocabulary = table(column) + u"Terms"_s;
    runStatement(connectionName,
        u"CREATE VIRTUAL TABLE IF NOT EXISTS temp.%1 USING fts5vocab(main, %2, row)"_s.arg(vocabulary, table(column)));
    // Every term that begins with prefix sorts between it and prefix followed by the
    // highest character.
    QSqlQuery found =
        runStatement(connectionName, u"SELECT term, doc FROM temp.%1 WHERE term >= ? AND term < ? LIMIT ?"_s.arg(vocabulary),
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
