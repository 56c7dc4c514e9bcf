#include "SearchStatement.h"

#include "Query.h"
#include "SearchNarrowing.h"

#include <QScopeGuard>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

bool hasReading(FileSearchRequest::Column column)
{
    return column == FileSearchRequest::Column::FileName || column == FileSearchRequest::Column::FilePath;
}

QString readingCondition(FileSearchRequest::Column column)
{
    return u"(Pinyin(%1, 0) like ? escape '\\' or Pinyin(%1, 1) like ? escape '\\')"_s.arg(
        FileSearchRequest::fieldName(column));
}

} // namespace

QString SearchStatement::condition(FileSearchRequest::Column column)
{
    return u"(length(%1) >= ? and UCase(%1) like ? escape '\\')"_s.arg(FileSearchRequest::fieldName(column));
}

SearchStatement::Conditions SearchStatement::conditions(const FileSearchRequest &request)
{
    if (request.findsEverything())
        return {};
    QStringList texts;
    Conditions result;
    for (const FileSearchRequest::Column column : request.columns) {
        texts.append(condition(column));
        result.values << SearchCondition::minimumLength(request.pattern) << request.pattern;
    }
    if (!request.readingPattern.isEmpty())
        for (const FileSearchRequest::Column column : request.columns)
            if (hasReading(column)) {
                texts.append(readingCondition(column));
                result.values << request.readingPattern << request.readingPattern;
            }
    result.text = u" "_s + texts.join(u" or "_s) + u" "_s;
    return result;
}

void SearchStatement::open(TQuery &query, const FileSearchRequest &request, IndexUse use)
{
    query.Close();
    const Conditions all = conditions(request);
    const QStringList baseLines = query.SQL();
    const QVariantList baseValues = query.Params();
    // A statement the engine refuses leaves the base one behind, so another try can work.
    auto restore = qScopeGuard([&] {
        query.Close();
        query.SQL() = baseLines;
        query.Params() = baseValues;
    });
    if (!all.text.isEmpty()) {
        const std::optional<SearchNarrowing::Clause> narrowing =
            use == IndexUse::WhereBuilt ? SearchNarrowing::clause(query.connectionName(), request) : std::nullopt;
        query.SQL() << u" where "_s;
        if (narrowing) {
            query.SQL() << narrowing->text + u" and ("_s + all.text + u')';
            query.Params() = narrowing->values + all.values;
        } else {
            query.SQL() << all.text;
            query.Params() = all.values;
        }
    }
    // The order the file records were written in, with the index or without it.
    query.SQL() << u" order by rowid"_s;
    query.Open();
    restore.dismiss();
}

SearchStatement::KeyStatement SearchStatement::keysOf(const TQuery &query)
{
    QStringList lines = query.SQL();
    // The first line names the columns (see the search query in the data module).
    Q_ASSERT(!lines.isEmpty() && lines.first().trimmed().startsWith(u"select "_s, Qt::CaseInsensitive));
    lines.first() = u"select rowid"_s;
    return {lines.join(u'\n'), query.Params()};
}
