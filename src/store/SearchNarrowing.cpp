#include "SearchNarrowing.h"

#include "SearchIndex.h"

#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Beyond these the short texts name so many rows that the plain scan is as quick.
constexpr int kMaxPrefixTerms = 1000;
constexpr qint64 kMinRowsBeforeScan = 100000;
// A term in fewer rows than this is rare; an AND of this many of the rarest is enough.
constexpr qint64 kRareRows = 2000;
constexpr int kRareTerms = 3;
// What one search asks of the index, whatever the length of its text: so many terms
// counted, so many in the AND when none is rare, so many short texts looked up and so
// many groups of their terms in the AND. Every row the narrowed search reads is still
// checked by the condition, so fewer terms only narrow less.
constexpr int kMaxCountedTerms = 24;
constexpr int kMaxAndTerms = 6;
constexpr int kMaxShortLookups = 8;
constexpr int kMaxShortGroups = 2;

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

std::optional<SearchIndex::Column> indexedColumn(FileSearchRequest::Column column)
{
    switch (column) {
    case FileSearchRequest::Column::FileName:
        return SearchIndex::Column::Name;
    case FileSearchRequest::Column::FilePath:
        return SearchIndex::Column::Path;
    case FileSearchRequest::Column::FileSize:
    case FileSearchRequest::Column::FileData:
        break;
    }
    return std::nullopt;
}

// A few rare terms instead of all when there are some: the index reads every row of each term
// of an AND, and the rows holding the rare ones are all the condition needs to look at.
// Counting stops at kRareRows, so the common terms cost little to tell apart, and the first
// kRareTerms rare ones (or one in no row at all) end the counting; when none of the first
// kMaxCountedTerms is rare, the first kMaxAndTerms of them.
QStringList rarest(const QString &connectionName, SearchIndex::Column column, const QStringList &terms)
{
    if (terms.size() <= kRareTerms)
        return terms;
    QStringList rare;
    for (const QString &term : terms.first(std::min<qsizetype>(terms.size(), kMaxCountedTerms))) {
        const qint64 rows = SearchIndex::rowsWithTerm(connectionName, column, term, kRareRows);
        if (rows == 0)
            return {term};
        if (rows < kRareRows)
            rare.append(term);
        if (rare.size() == kRareTerms)
            break;
    }
    return rare.isEmpty() ? terms.first(std::min<qsizetype>(terms.size(), kMaxAndTerms)) : rare;
}

// The trigrams of the runs of three characters or more, each once.
QStringList trigramsOf(const QStringList &runs)
{
    QStringList trigrams;
    QSet<QString> seen;
    for (const QString &run : runs)
        if (characterCount(run) >= 3)
            for (const QString &trigram : SearchNarrowing::quotedTrigrams(run))
                if (!seen.contains(trigram)) {
                    seen.insert(trigram);
                    trigrams.append(trigram);
                }
    return trigrams;
}

// For texts of one or two characters only: an OR of the index's terms that begin with
// each, for the first few that the index can answer; nullopt when none can, an empty list
// when one of them begins no term (no row can match).
std::optional<QStringList> shortGroups(const QString &connectionName, SearchIndex::Column column,
                                       const QStringList &runs, qint64 maxRows)
{
    QStringList groups;
    int lookups = 0;
    for (const QString &run : runs) {
        if (groups.size() == kMaxShortGroups || lookups++ == kMaxShortLookups)
            break;
        QStringList terms;
        if (!SearchIndex::termsStartingWith(connectionName, column, run, kMaxPrefixTerms, maxRows, terms))
            continue;
        if (terms.isEmpty())
            return QStringList();
        for (QString &term : terms)
            term = quoted(term);
        groups.append(u'(' + terms.join(u" OR "_s) + u')');
    }
    if (groups.isEmpty())
        return std::nullopt;
    return groups;
}

// The index's query for one column, an AND of terms or of groups of terms; nullopt when the
// runs tell the index nothing (or too little to be worth asking), an empty text when no row
// can match.
std::optional<QString> matchExpression(const QString &connectionName, SearchIndex::Column column,
                                       const QStringList &runs, qint64 maxRows)
{
    const QStringList parts = rarest(connectionName, column, trigramsOf(runs));
    if (!parts.isEmpty())
        return parts.join(u" AND "_s);
    const std::optional<QStringList> groups = shortGroups(connectionName, column, runs, maxRows);
    if (!groups)
        return std::nullopt;
    return groups->join(u" AND "_s);
}

} // namespace

QStringList SearchNarrowing::literalRuns(const QString &pattern)
{
    QStringList runs;
    QSet<QString> seen;
    QString run;
    // A run that came before adds nothing the index could tell.
    const auto add = [&] {
        if (!run.isEmpty() && !seen.contains(run)) {
            seen.insert(run);
            runs.append(run);
        }
        run.clear();
    };
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'\\' && i + 1 < pattern.size()) {
            run += pattern.at(++i);
        } else if (c == u'%' || c == u'_') {
            add();
        } else {
            run += c;
        }
    }
    add();
    return runs;
}

QStringList SearchNarrowing::quotedTrigrams(const QString &run)
{
    const QList<uint> characters = run.toUcs4();
    QStringList trigrams;
    QSet<QString> seen;
    for (qsizetype i = 0; i + 3 <= characters.size(); ++i) {
        const QString trigram = QString::fromUcs4(reinterpret_cast<const char32_t *>(characters.constData() + i), 3);
        const QString term = quoted(trigram);
        if (!seen.contains(term)) {
            seen.insert(term);
            trigrams.append(term);
        }
    }
    return trigrams;
}

namespace {

struct Target {
    SearchIndex::Column column;
    QStringList runs;
};

// The index tables to ask for the searched columns, none when a column is one the index does
// not hold.
std::optional<QList<Target>> targets(const FileSearchRequest &request)
{
    const QStringList runs = SearchNarrowing::literalRuns(request.pattern);
    const QStringList readingRuns = SearchNarrowing::literalRuns(request.readingPattern);
    QList<Target> found;
    for (const FileSearchRequest::Column searched : request.columns) {
        const std::optional<SearchIndex::Column> column = indexedColumn(searched);
        if (!column)
            return std::nullopt;
        found.append({*column, runs});
        if (!request.readingPattern.isEmpty())
            found.append({*column == SearchIndex::Column::Name ? SearchIndex::Column::NameReading
                                                               : SearchIndex::Column::PathReading,
                          readingRuns});
    }
    return found;
}

} // namespace

std::optional<SearchNarrowing::Clause> SearchNarrowing::clause(const QString &connectionName,
                                                               const FileSearchRequest &request)
{
    if (request.findsEverything())
        return std::nullopt;
    const std::optional<SearchIndex::Progress> progress = SearchIndex::progress(connectionName);
    const std::optional<QList<Target>> asked = targets(request);
    if (!progress || !asked)
        return std::nullopt;
    const qint64 upTo = progress->upTo(!request.readingPattern.isEmpty());
    // While most rows are still to be indexed, reading the tail is reading nearly everything.
    if ((progress->lastRow - upTo) * 2 > progress->lastRow)
        return std::nullopt;
    const qint64 maxRows = std::max(kMinRowsBeforeScan, progress->lastRow / 10);
    QStringList selects;
    Clause result;
    for (const Target &target : *asked) {
        const std::optional<QString> match = matchExpression(connectionName, target.column, target.runs, maxRows);
        if (!match)
            return std::nullopt;
        if (match->isEmpty())
            continue;
        selects.append(u"select rowid from %1 where %1 match ?"_s.arg(SearchIndex::table(target.column)));
        result.values.append(*match);
    }
    // The rows the index names, and the tail it does not hold yet. One list, so that the
    // statement reads only the rows in it (with "or" SQLite would read every row).
    selects.append(u"select rowid from CdRomListDt where rowid > ?"_s);
    result.values.append(upTo);
    result.text = u"rowid in ("_s + selects.join(u" union "_s) + u')';
    return result;
}
