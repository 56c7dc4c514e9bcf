#include "CataloguedDiscs.h"

#include "DmQL.h"
#include "Statement.h"

#include <QCoreApplication>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

QStringList CataloguedDiscs::names(TdmQL &dm, const QString &label, const QString &serial)
{
    if (serial.isEmpty() || serial == u"00000000"_s || !dm.Connected())
        return {};
    // A query of its own: the program's named datasets keep their positions.
    QSqlQuery query = runStatement(dm.aConQl.connectionName(),
                                   u"select DiskName from CdRomListMt where DiskSerial = ? and DiskLabel = ? "
                                   "order by DiskName COLLATE LOCALE"_s,
                                   {serial, label});
    QStringList found;
    while (query.next())
        found.append(query.value(0).toString());
    return found;
}

std::optional<qint64> CataloguedDiscs::codeOf(TdmQL &dm, const QString &name)
{
    QSqlQuery query = runStatement(dm.aConQl.connectionName(),
                                   u"select DiskCode from CdRomListMt where DiskName = ? order by DiskCode"_s, {name});
    return query.next() ? std::optional(query.value(0).toLongLong()) : std::nullopt;
}

QString CataloguedDiscs::joined(const QStringList &names)
{
    return names.join(QCoreApplication::translate("CataloguedDiscs", "、"));
}
