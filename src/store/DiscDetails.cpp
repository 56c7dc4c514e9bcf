#include "DiscDetails.h"

#include "DiscRecordsSchema.h"
#include "Statement.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

// Without the tables of the disc records the details and lending are empty.
const QString kPlainOverview =
    u"select m.DiskCode, m.DiskName, m.DiskLabel, m.DiskSerial, '', '', '', '', '' from CdRomListMt m "_s;
const QString kOverview =
    u"select m.DiskCode, m.DiskName, m.DiskLabel, m.DiskSerial, d.Location, d.Note, d.Keywords, l.Borrower, "
    "l.LentOn from CdRomListMt m left join DiscDetails d on d.DiskCode = m.DiskCode "
    "left join DiscLending l on l.DiskCode = m.DiskCode and l.ReturnedOn is null "_s;

QString overviewStatement(const QString &connectionName)
{
    return DiscRecordsSchema::present(connectionName) ? kOverview : kPlainOverview;
}

DiscOverview overviewOf(const QSqlQuery &query)
{
    DiscOverview disc;
    disc.code = query.value(0).toInt();
    disc.name = query.value(1).toString();
    disc.label = query.value(2).toString();
    disc.serial = query.value(3).toString();
    disc.details = {query.value(4).toString(), query.value(5).toString(), query.value(6).toString()};
    disc.borrower = query.value(7).toString();
    disc.lentOn = query.value(8).toString();
    return disc;
}

} // namespace

DiscDetails DiscDetailsStore::read(const QString &connectionName, qint64 discCode)
{
    if (!DiscRecordsSchema::present(connectionName))
        return {};
    QSqlQuery query = runStatement(
        connectionName, u"select Location, Note, Keywords from DiscDetails where DiskCode = ?"_s, {discCode});
    if (!query.next())
        return {};
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString()};
}

void DiscDetailsStore::write(const QString &connectionName, qint64 discCode, const DiscDetails &details)
{
    if (details == DiscDetails{}) {
        runStatement(connectionName, u"delete from DiscDetails where DiskCode = ?"_s, {discCode});
        return;
    }
    runStatement(connectionName,
                 u"insert into DiscDetails (DiskCode, Location, Note, Keywords) values (?, ?, ?, ?) "
                 "on conflict (DiskCode) do update set Location = excluded.Location, Note = excluded.Note, "
                 "Keywords = excluded.Keywords"_s,
                 {discCode, details.location.isNull() ? u""_s : details.location,
                  details.note.isNull() ? u""_s : details.note, details.keywords.isNull() ? u""_s : details.keywords});
}

DiscTotals DiscDetailsStore::totals(const QString &connectionName, qint64 discCode)
{
    QSqlQuery query = runStatement(
        connectionName,
        u"select count(*), ifnull(sum(cast(FileSize as integer)), 0) from CdRomListDt where DiskCode = ?"_s,
        {discCode});
    query.next();
    return {query.value(0).toLongLong(), query.value(1).toLongLong()};
}

QList<DiscOverview> DiscDetailsStore::overviews(const QString &connectionName)
{
    QSqlQuery query = runStatement(connectionName, overviewStatement(connectionName) + u"order by m.DiskName COLLATE LOCALE"_s);
    QList<DiscOverview> discs;
    while (query.next())
        discs.append(overviewOf(query));
    return discs;
}

QHash<qint64, qint64> DiscDetailsStore::fileCounts(const QString &connectionName)
{
    QSqlQuery query =
        runStatement(connectionName, u"select DiskCode, count(*) from CdRomListDt group by DiskCode"_s);
    QHash<qint64, qint64> counts;
    while (query.next())
        counts.insert(query.value(0).toLongLong(), query.value(1).toLongLong());
    return counts;
}

std::optional<DiscOverview> DiscDetailsStore::overview(const QString &connectionName, qint64 discCode)
{
    QSqlQuery query = runStatement(connectionName, overviewStatement(connectionName) + u"where m.DiskCode = ?"_s, {discCode});
    if (!query.next())
        return std::nullopt;
    return overviewOf(query);
}

std::optional<qint64> DiscDetailsStore::codeOf(const QString &connectionName, const QString &name)
{
    QSqlQuery query = runStatement(
        connectionName, u"select DiskCode from CdRomListMt where DiskName = ? order by DiskCode limit 1"_s, {name});
    if (!query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

DiscDetailsStore::Rename DiscDetailsStore::rename(const QString &connectionName, qint64 discCode, const QString &name)
{
    if (name.trimmed().isEmpty())
        return Rename::Empty;
    QSqlQuery taken = runStatement(
        connectionName, u"select 1 from CdRomListMt where DiskName = ? and DiskCode <> ? limit 1"_s, {name, discCode});
    if (taken.next())
        return Rename::NameTaken;
    runStatement(connectionName, u"update CdRomListMt set DiskName = ? where DiskCode = ?"_s, {name, discCode});
    return Rename::Done;
}
