#include "FileSearch.h"

#include "SearchCondition.h"
#include "SearchNarrowing.h"
#include "store/DmQL.h"
#include "store/LCommFunction.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

void FileSearch::open(TQuery &query, const QStringList &conditions, const QString &pattern, IndexUse use)
{
    query.Close();
    const QString joined = SearchCondition::join(conditions);
    const QStringList baseLines = query.SQL();
    const QVariantList baseValues = query.Params();
    // A statement the engine refuses leaves the base one behind, so another try can work.
    auto restore = qScopeGuard([&] {
        query.Close();
        query.SQL() = baseLines;
        query.Params() = baseValues;
    });
    if (!joined.isEmpty()) {
        const std::optional<SearchNarrowing::Clause> narrowing =
            use == IndexUse::WhereBuilt ? SearchNarrowing::clause(query.connectionName(), conditions, pattern)
                                        : std::nullopt;
        query.SQL() << u" where "_s;
        if (narrowing) {
            query.SQL() << narrowing->text + u" and ("_s + joined + u')';
            query.Params() = narrowing->values + values(conditions, pattern);
        } else {
            query.SQL() << joined;
            query.Params() = values(conditions, pattern);
        }
    }
    // The order the file records were written in, with the index or without it.
    query.SQL() << u" order by rowid"_s;
    query.Open();
    restore.dismiss();
}

QVariantList FileSearch::values(const QStringList &conditions, const QString &pattern)
{
    QVariantList bound;
    for (const QString &condition : conditions)
        if (!condition.isEmpty())
            bound.append(pattern);
    return bound;
}

FileRow FileSearch::hitRow(TQuery &query, const QHash<qint32, QString> &discNames)
{
    return FileRow{discNames.value(qint32(query.FieldByName(u"DiskCode"_s).AsInteger())),
                   {query.FieldByName(u"FileName"_s).AsString(), query.FieldByName(u"FileSize"_s).AsString(),
                    query.FieldByName(u"FileData"_s).AsString(), query.FieldByName(u"FilePath"_s).AsString()}};
}

QHash<qint32, QString> FileSearch::discNames(TdmQL &dm)
{
    QHash<qint32, QString> names;
    TQuery discs(u"discNames"_s, dm.aConQl.connectionName());
    discs.SQL() = {u"select DiskCode, DiskName from CdRomListMt"_s};
    discs.Open();
    for (discs.First(); !discs.Eof(); discs.Next())
        names.insert(qint32(discs.FieldByName(u"DiskCode"_s).AsInteger()), discs.FieldByName(u"DiskName"_s).AsString());
    return names;
}
