#include "FileChecksums.h"

#include "Statement.h"

#include <QSqlDatabase>
#include <QVariant>

using namespace Qt::StringLiterals;

QStringList FileChecksums::createStatements()
{
    return {
        u"CREATE TABLE FileChecksum (FileRow INTEGER PRIMARY KEY, Sha256 BLOB)"_s,
        u"CREATE TRIGGER FileChecksumRemove AFTER DELETE ON CdRomListDt BEGIN\n"
        "  DELETE FROM FileChecksum WHERE FileRow = old.rowid;\nEND"_s,
    };
}

FileChecksums::FileChecksums(const QString &connectionName)
    : m_insert(QSqlDatabase::database(connectionName, false))
{
    prepareStatement(m_insert, u"INSERT OR REPLACE INTO FileChecksum (FileRow, Sha256) VALUES (?, ?)"_s);
}

void FileChecksums::store(qint64 fileRow, const QByteArray &digest)
{
    bindAndRun(m_insert, {fileRow, digest.isEmpty() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(digest)});
}

QList<FileChecksums::Entry> FileChecksums::ofDisc(const QString &connectionName, qint64 discCode)
{
    QSqlQuery query = runStatement(connectionName,
                                   u"SELECT d.FilePath, d.FileName, c.Sha256 FROM CdRomListDt d "
                                   "JOIN FileChecksum c ON c.FileRow = d.rowid WHERE d.DiskCode = ? ORDER BY d.rowid"_s,
                                   {discCode});
    QList<Entry> entries;
    while (query.next())
        entries.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toByteArray()});
    return entries;
}

FileChecksums::Count FileChecksums::count(const QString &connectionName, qint64 discCode)
{
    QSqlQuery query = runStatement(connectionName,
                                   u"SELECT count(*), count(*) - count(c.Sha256) FROM CdRomListDt d "
                                   "JOIN FileChecksum c ON c.FileRow = d.rowid WHERE d.DiskCode = ?"_s,
                                   {discCode});
    return query.next() ? Count{query.value(0).toLongLong(), query.value(1).toLongLong()} : Count{};
}
