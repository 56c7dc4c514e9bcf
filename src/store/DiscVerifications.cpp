#include "DiscVerifications.h"

#include "Statement.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

const QString kColumns = u"VerifiedAt, Seconds, BytesRead, Same, Changed, Missing, Added, Unreadable, ListMismatches"_s;

Verification verificationAt(const QSqlQuery &query, int first)
{
    Verification v;
    v.verifiedAt = query.value(first).toString();
    v.seconds = query.value(first + 1).toDouble();
    v.bytes = query.value(first + 2).toLongLong();
    v.same = query.value(first + 3).toLongLong();
    v.changed = query.value(first + 4).toLongLong();
    v.missing = query.value(first + 5).toLongLong();
    v.added = query.value(first + 6).toLongLong();
    v.unreadable = query.value(first + 7).toLongLong();
    v.listMismatches = query.value(first + 8).toLongLong();
    return v;
}

} // namespace

QStringList DiscVerificationStore::createStatements()
{
    return {
        u"CREATE TABLE DiscVerification ("
        "  VerificationCode INTEGER PRIMARY KEY AUTOINCREMENT,"
        "  DiskCode INTEGER NOT NULL REFERENCES CdRomListMt(DiskCode) ON DELETE CASCADE,"
        "  VerifiedAt TEXT NOT NULL,"
        "  Seconds REAL NOT NULL DEFAULT 0,"
        "  BytesRead INTEGER NOT NULL DEFAULT 0,"
        "  Same INTEGER NOT NULL DEFAULT 0,"
        "  Changed INTEGER NOT NULL DEFAULT 0,"
        "  Missing INTEGER NOT NULL DEFAULT 0,"
        "  Added INTEGER NOT NULL DEFAULT 0,"
        "  Unreadable INTEGER NOT NULL DEFAULT 0,"
        "  ListMismatches INTEGER NOT NULL DEFAULT 0)"_s,
        u"CREATE INDEX DiscVerification_DiskCode ON DiscVerification(DiskCode)"_s,
    };
}

bool DiscVerificationStore::present(const QString &connectionName)
{
    QSqlQuery query = runStatement(
        connectionName, u"select count(*) from sqlite_schema where type = 'table' and name = 'DiscVerification'"_s);
    return query.next() && query.value(0).toInt() == 1;
}

void DiscVerificationStore::record(const QString &connectionName, qint64 discCode, const Verification &v)
{
    runStatement(connectionName,
                 u"insert into DiscVerification (DiskCode, "_s + kColumns + u") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                 {discCode, v.verifiedAt, v.seconds, v.bytes, v.same, v.changed, v.missing, v.added, v.unreadable,
                  v.listMismatches});
}

QList<Verification> DiscVerificationStore::history(const QString &connectionName, qint64 discCode)
{
    QList<Verification> all;
    if (!present(connectionName))
        return all;
    QSqlQuery query = runStatement(connectionName,
                                   u"select "_s + kColumns +
                                       u" from DiscVerification where DiskCode = ? order by VerificationCode desc"_s,
                                   {discCode});
    while (query.next())
        all.append(verificationAt(query, 0));
    return all;
}

QHash<qint32, Verification> DiscVerificationStore::latest(const QString &connectionName)
{
    QHash<qint32, Verification> byDisc;
    if (!present(connectionName))
        return byDisc;
    QSqlQuery query = runStatement(connectionName,
                                   u"select DiskCode, "_s + kColumns +
                                       u" from DiscVerification where VerificationCode in "
                                       "(select max(VerificationCode) from DiscVerification group by DiskCode)"_s);
    while (query.next())
        byDisc.insert(query.value(0).toInt(), verificationAt(query, 1));
    return byDisc;
}

QList<DueDisc> DiscVerificationStore::due(const QString &connectionName, const QString &cutoff)
{
    QList<DueDisc> discs;
    // A catalogue without the table has never verified a disc: every disc is due.
    QSqlQuery query =
        present(connectionName)
            ? runStatement(connectionName,
                           u"select m.DiskCode, m.DiskName, coalesce(v.Last, '') from CdRomListMt m left join "
                           "(select DiskCode, max(VerifiedAt) as Last from DiscVerification group by DiskCode) v "
                           "on v.DiskCode = m.DiskCode where v.Last is null or v.Last < ? "
                           "order by v.Last is not null, v.Last, m.DiskName collate LOCALE"_s,
                           {cutoff})
            : runStatement(connectionName,
                           u"select DiskCode, DiskName, '' from CdRomListMt order by DiskName collate LOCALE"_s);
    while (query.next())
        discs.append({query.value(0).toInt(), query.value(1).toString(), query.value(2).toString()});
    return discs;
}

QList<std::pair<QString, QString>> DiscVerificationStore::archiveMembers(const QString &connectionName, qint64 discCode)
{
    QList<std::pair<QString, QString>> members;
    QSqlQuery present = runStatement(
        connectionName, u"select count(*) from sqlite_schema where type = 'table' and name = 'ArchiveMember'"_s);
    if (!present.next() || present.value(0).toInt() == 0)
        return members;
    QSqlQuery query = runStatement(connectionName,
                                   u"select d.FilePath, d.FileName from CdRomListDt d join ArchiveMember a "
                                   "on a.FileRow = d.rowid where d.DiskCode = ?"_s,
                                   {discCode});
    while (query.next())
        members.append({query.value(0).toString(), query.value(1).toString()});
    return members;
}
