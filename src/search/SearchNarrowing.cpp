#include "SearchNarrowing.h"

#include "SearchCondition.h"
#include "store/SearchIndex.h"

using namespace Qt::StringLiterals;

namespace {

// Beyond these the short texts name so many rows that the plain scan is as quick.
constexpr int kMaxPrefixTerms = 1000;
constexpr qint64 kMinRowsBeforeScan = 100000;

qsizetype characterCount(const QString &run)
{
    return run.toUcs4().size();
}

QString quoted(const QString &term)
{
    QString text = term;
    text.replace(u'"', u"\"\""_s);
    return u'"' + text + u'"';
}

std::optional<SearchIndex::Column> indexedColumn(const QString &condition)
{
    if (condition == SearchCondition::condition(u"FileName"_s))
        return SearchIndex::Column::Name;
    if (condition == SearchCondition::condition(u"FilePath"_s))
        return SearchIndex::Column::Path;
    return std::nullopt;
}

// The index's query for one column, an AND of terms and groups of terms; nullopt when the
// runs tell the index nothing, an empty text when no row can match.
std::optional<QString> matchExpression(const QString &connectionName, SearchIndex::Column column,
                                       const QStringList &runs, qint64 maxRows)
{
    QStringList parts;
    for (const QString &run : runs)
        if (characterCount(run) >= 3)
            parts += SearchNarrowing::quotedTrigrams(run);
    if (parts.isEmpty()) {
        // Only texts of one or two characters: the index's terms that begin with them.
        for (const QString &run : runs) {
            QStringList terms;
            if (!SearchIndex::termsStartingWith(connectionName, column, run, kMaxPrefixTerms, maxRows, terms))
                continue;
            if (terms.isEmpty())
                return QString();
            for (QString &term : terms)
                term = quoted(term);
            parts.append(u'(' + terms.join(u" OR "_s) + u')');
        }
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts.join(u" AND "_s);
}

} // namespace

QStringList SearchNarrowing::literalRuns(const QString &pattern)
{
    QStringList runs;
    QString run;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'\\' && i + 1 < pattern.size()) {
            run += pattern.at(++i);
        } else if (c == u'%' || c == u'_') {
            if (!run.isEmpty())
                runs.append(run);
            run.clear();
        } else {
            run += c;
        }
    }
    if (!run.isEmpty())
        runs.append(run);
    return runs;
}

QStringList SearchNarrowing::quotedTrigrams(const QString &run)
{
    const QList<uint> characters = run.toUcs4();
    QStringList trigrams;
    for (qsizetype i = 0; i + 3 <= characters.size(); ++i) {
        const QString trigram = QString::fromUcs4(reinterpret_cast<const char32_t *>(characters.constData() + i), 3);
        const QString term = quoted(trigram);
        if (!trigrams.contains(term))
            trigrams.append(term);
    }
    return trigrams;
}

std::optional<SearchNarrowing::Clause> SearchNarrowing::clause(const QString &connectionName,
                                                               const QStringList &conditions, const QString &pattern)
{
    if (!SearchIndex::complete(connectionName))
        return std::nullopt;
    const QStringList runs = literalRuns(pattern);
    const qint64 maxRows = std::max(kMinRowsBeforeScan, SearchIndex::progress(connectionName).lastRow / 10);
    QStringList selects;
    Clause result;
    for (const QString &condition : conditions) {
        if (condition.isEmpty())
            continue;
        const std::optional<SearchIndex::Column> column = indexedColumn(condition);
        if (!column)
            return std::nullopt;
        const std::optional<QString> match = matchExpression(connectionName, *column, runs, maxRows);
        if (!match)
            return std::nullopt;
        if (match->isEmpty())
            continue;
        const QString table = SearchIndex::table(*column);
        selects.append(u"select rowid from %1 where %1 match ?"_s.arg(table));
        result.values.append(*match);
    }
    result.text = u"rowid in ("_s + selects.join(u" union "_s) + u')';
    return result;
}
