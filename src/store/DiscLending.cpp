#include "DiscLending.h"

#include "DiscRecordsSchema.h"
#include "Statement.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;

std::optional<Lending> DiscLendingStore::current(const QString &connectionName, qint64 discCode)
{
    if (!DiscRecordsSchema::present(connectionName))
        return {};
    QSqlQuery query = runStatement(
        connectionName, u"select Borrower, LentOn from DiscLending where DiskCode = ? and ReturnedOn is null"_s,
        {discCode});
    if (!query.next())
        return std::nullopt;
    return Lending{query.value(0).toString(), query.value(1).toString(), QString()};
}

QList<Lending> DiscLendingStore::history(const QString &connectionName, qint64 discCode)
{
    if (!DiscRecordsSchema::present(connectionName))
        return {};
    QSqlQuery query = runStatement(connectionName,
                                   u"select Borrower, LentOn, ReturnedOn from DiscLending where DiskCode = ? "
                                   "order by LentOn desc, LendingCode desc"_s,
                                   {discCode});
    QList<Lending> lendings;
    while (query.next())
        lendings.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
    return lendings;
}

void DiscLendingStore::lend(const QString &connectionName, qint64 discCode, const QString &borrower,
                            const QString &lentOn)
{
    giveBack(connectionName, discCode, lentOn);
    runStatement(connectionName, u"insert into DiscLending (DiskCode, Borrower, LentOn) values (?, ?, ?)"_s,
                 {discCode, borrower, lentOn});
}

bool DiscLendingStore::giveBack(const QString &connectionName, qint64 discCode, const QString &returnedOn)
{
    QSqlQuery query = runStatement(
        connectionName, u"update DiscLending set ReturnedOn = max(?, LentOn) where DiskCode = ? and ReturnedOn is null"_s,
        {returnedOn, discCode});
    return query.numRowsAffected() > 0;
}

QList<LentDisc> DiscLendingStore::lentDiscs(const QString &connectionName)
{
    if (!DiscRecordsSchema::present(connectionName))
        return {};
    QSqlQuery query = runStatement(connectionName,
                                   u"select m.DiskCode, m.DiskName, l.Borrower, l.LentOn from DiscLending l "
                                   "join CdRomListMt m on m.DiskCode = l.DiskCode where l.ReturnedOn is null "
                                   "order by l.LentOn, m.DiskName COLLATE LOCALE"_s);
    QList<LentDisc> discs;
    while (query.next())
        discs.append(
            {query.value(0).toInt(), query.value(1).toString(), query.value(2).toString(), query.value(3).toString()});
    return discs;
}
