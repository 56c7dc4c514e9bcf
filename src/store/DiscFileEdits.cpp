#include "DiscFileEdits.h"

#include "Statement.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

QList<StoredFile> DiscFileEdits::filesOf(const QString &connectionName, qint64 discCode)
{
    QSqlQuery query = runStatement(connectionName,
                                   u"select d.rowid, d.FileName, d.FileSize, d.FileData, d.FilePath, c.FileRow, c.Sha256 "
                                   "from CdRomListDt d left join FileChecksum c on c.FileRow = d.rowid "
                                   "where d.DiskCode = ? order by d.rowid"_s,
                                   {discCode});
    QList<StoredFile> files;
    while (query.next()) {
        StoredFile file{query.value(0).toLongLong(),
                        {discCode, query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
                         query.value(4).toString()},
                        std::nullopt};
        if (!query.value(5).isNull())
            file.digest = query.value(6).isNull() ? QByteArray() : query.value(6).toByteArray();
        files.append(file);
    }
    return files;
}

void DiscFileEdits::remove(const QString &connectionName, qint64 row)
{
    runStatement(connectionName, u"delete from CdRomListDt where rowid = ?"_s, {row});
}

void DiscFileEdits::change(const QString &connectionName, qint64 row, const QString &size, const QString &date)
{
    runStatement(connectionName, u"update CdRomListDt set FileSize = ?, FileData = ? where rowid = ?"_s,
                 {size, date, row});
}

void DiscFileEdits::forgetChecksum(const QString &connectionName, qint64 row)
{
    runStatement(connectionName, u"delete from FileChecksum where FileRow = ?"_s, {row});
}
