#pragma once

#include "FileSearchRequest.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// Narrows a search of file names and folders to the rows the search index names, so that the
// search condition reads a handful of rows instead of every one. The index only narrows: the
// condition still decides, so the hits are those of a search without it.
class SearchNarrowing {
public:
    struct Clause {
        QString text; // "rowid in (…)", to be joined to the condition with "and"
        QVariantList values;
    };
    // The clause for a search (its columns and patterns): the rows the index names and the
    // rows it does not hold yet. None when the index cannot answer: the catalogue has none or
    // most of it is still to be built, a searched column has no index (size, date), or the
    // pattern has no text the index tells anything about. The reading pattern, where the
    // request has one, is also tried on the pinyin of the names and folders searched.
    static std::optional<Clause> clause(const QString &connectionName, const FileSearchRequest &request);

    // The runs of literal text of a pattern, between its wildcards, escapes removed; a run
    // that came before is left out.
    static QStringList literalRuns(const QString &pattern);
    // The three-character pieces of a run, each a quoted string of the index's query language.
    static QStringList quotedTrigrams(const QString &run);
};
