#include "Copies.h"

#include "Statement.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

// Every file record with its group: gsum is the checksum of its group (none: the group of
// its name, size and time); lo and hi are the smallest and largest disc code in its group.
const QString kGrouped = uR"(WITH f AS (
  SELECT d.rowid AS id, d.DiskCode AS disc, d.FileName AS name, d.FileSize AS size, d.FileData AS time,
         d.FilePath AS path, c.Sha256 AS sum
  FROM CdRomListDt d LEFT JOIN FileChecksum c ON c.FileRow = d.rowid),
k AS (
  SELECT *, coalesce(sum, min(sum) OVER (PARTITION BY name, size, time)) AS gsum FROM f),
g AS (
  SELECT *, min(disc) OVER w AS lo, max(disc) OVER w AS hi FROM k
  WINDOW w AS (PARTITION BY gsum, iif(gsum IS NULL, name, NULL), iif(gsum IS NULL, size, NULL),
               iif(gsum IS NULL, time, NULL)))
)"_s;

QString discCondition(std::optional<qint64> disc, const QString &column)
{
    return disc ? u" AND %1 = ?"_s.arg(column) : QString();
}

// A walk over many rows keeps none of them: forward only.
QSqlQuery forwardOnly(const QString &connectionName, const QString &text, const QVariantList &values)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    runStatement(query, text, values);
    return query;
}

QVariantList discValue(std::optional<qint64> disc)
{
    return disc ? QVariantList{*disc} : QVariantList{};
}

QHash<qint64, QString> discNames(const QString &connectionName)
{
    QSqlQuery query = runStatement(connectionName, u"SELECT DiskCode, DiskName FROM CdRomListMt"_s);
    QHash<qint64, QString> names;
    while (query.next())
        names.insert(query.value(0).toLongLong(), query.value(1).toString());
    return names;
}

} // namespace

QList<Copies::DiscShare> Copies::shares(const QString &connectionName, std::optional<qint64> disc)
{
    QSqlQuery query = runStatement(
        connectionName,
        kGrouped + u", s AS (SELECT disc, count(*) AS files, sum(lo <> hi) AS copied FROM g GROUP BY disc)\n"
                   "SELECT m.DiskCode, m.DiskName, coalesce(s.files, 0), coalesce(s.copied, 0)\n"
                   "FROM CdRomListMt m LEFT JOIN s ON s.disc = m.DiskCode WHERE 1"_s +
            discCondition(disc, u"m.DiskCode"_s) + u" ORDER BY m.DiskName COLLATE LOCALE"_s,
        discValue(disc));
    QList<DiscShare> shares;
    while (query.next())
        shares.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toLongLong(),
                       query.value(3).toLongLong()});
    return shares;
}

void Copies::single(const QString &connectionName, std::optional<qint64> disc,
                    const std::function<void(FileRow &&)> &each)
{
    const QHash<qint64, QString> names = discNames(connectionName);
    QSqlQuery query = forwardOnly(connectionName,
                                   kGrouped + u"SELECT disc, name, size, time, path FROM g WHERE lo = hi"_s +
                                       discCondition(disc, u"disc"_s) + u" ORDER BY disc, id"_s,
                                   discValue(disc));
    while (query.next())
        each(FileRow{names.value(query.value(0).toLongLong()),
                     {query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
                      query.value(4).toString()}});
}

void Copies::duplicates(const QString &connectionName, std::optional<qint64> disc,
                        const std::function<void(Group &&)> &each)
{
    const QHash<qint64, QString> names = discNames(connectionName);
    QSqlQuery query = forwardOnly(
        connectionName,
        kGrouped + u"SELECT min(name), min(size), min(time), gsum, group_concat(DISTINCT disc) FROM g WHERE lo <> hi\n"
                   "GROUP BY gsum, iif(gsum IS NULL, name, NULL), iif(gsum IS NULL, size, NULL),\n"
                   "  iif(gsum IS NULL, time, NULL)"_s +
            (disc ? u" HAVING max(disc = ?)"_s : QString()) + u" ORDER BY min(name), min(size)"_s,
        discValue(disc));
    while (query.next()) {
        Group group{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                    query.value(3).toByteArray(), {}};
        for (const QString &code : query.value(4).toString().split(u','))
            group.discs.append(names.value(code.toLongLong()));
        group.discs.sort(Qt::CaseInsensitive);
        each(std::move(group));
    }
}
