#include "FileSearch.h"

#include "SearchCondition.h"
#include "SearchNarrowing.h"
#include "store/DmQL.h"
#include "store/LCommFunction.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

void FileSearch::open(TQuery &query, const QStringList &conditions, const QString &pattern, IndexUse use,
                      const QString &readingPattern)
{
    query.Close();
    const QStringList all = withReadings(conditions, readingPattern);
    const QString joined = SearchCondition::join(all);
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
            use == IndexUse::WhereBuilt
                ? SearchNarrowing::clause(query.connectionName(), conditions, pattern, readingPattern)
                : std::nullopt;
        query.SQL() << u" where "_s;
        if (narrowing) {
            query.SQL() << narrowing->text + u" and ("_s + joined + u')';
            query.Params() = narrowing->values + values(all, pattern, readingPattern);
        } else {
            query.SQL() << joined;
            query.Params() = values(all, pattern, readingPattern);
        }
    }
    // The order the file records were written in, with the index or without it.
    query.SQL() << u" order by rowid"_s;
    query.Open();
    restore.dismiss();
}

QStringList FileSearch::withReadings(const QStringList &conditions, const QString &readingPattern)
{
    QStringList all = conditions;
    if (!readingPattern.isEmpty())
        for (const QString &condition : conditions)
            all.append(SearchCondition::readingCondition(condition));
    return all;
}

QVariantList FileSearch::values(const QStringList &conditions, const QString &pattern, const QString &readingPattern)
{
    QVariantList bound;
    for (const QString &condition : conditions) {
        if (condition.isEmpty())
            continue;
        if (SearchCondition::isReadingCondition(condition))
            bound << readingPattern << readingPattern;
        else
            bound << SearchCondition::minimumLength(pattern) << pattern;
    }
    return bound;
}

FileRow FileSearch::hitRow(TQuery &query, const QHash<qint32, QString> &discNames)
{
    return HitReader(query, discNames).row();
}

FileSearch::HitReader::HitReader(TQuery &query, const QHash<qint32, QString> &discNames)
    : m_discNames(discNames)
    , m_disc(query.FieldByName(u"DiskCode"_s))
    , m_name(query.FieldByName(u"FileName"_s))
    , m_size(query.FieldByName(u"FileSize"_s))
    , m_date(query.FieldByName(u"FileData"_s))
    , m_path(query.FieldByName(u"FilePath"_s))
{
}

FileRow FileSearch::HitReader::row() const
{
    return FileRow{m_discNames.value(qint32(m_disc.AsInteger())),
                   {m_name.AsString(), m_size.AsString(), m_date.AsString(), m_path.AsString()}};
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
