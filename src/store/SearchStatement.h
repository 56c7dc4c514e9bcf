#pragma once

#include "FileSearchRequest.h"

#include <QString>
#include <QVariantList>

class TQuery;

// The one place a search of the file records becomes a statement: the conditions of a
// FileSearchRequest on the search query, narrowed by the search index where it can answer.
class SearchStatement {
public:
    // Whether a search of names and folders is narrowed by the search index: where it is
    // built (as the program does), or never (the plain scan, for comparison).
    enum class IndexUse { WhereBuilt, Never };

    struct Conditions {
        QString text; // the conditions joined by " or ", a blank at each end; empty for none
        QVariantList values;
        bool operator==(const Conditions &) const = default;
    };

    // The condition on one column: its length compared with the pattern's minimum length
    // (bound first, so a value too short to match is passed over before it is upper-cased),
    // then its upper-cased value with the bound pattern.
    static QString condition(FileSearchRequest::Column column);
    // The conditions of a request, one per searched column in its order, then, with a reading
    // pattern, the one on the pinyin of each searched name or folder column; with the values
    // they bind. Empty for a request that finds everything.
    static Conditions conditions(const FileSearchRequest &request);

    // Appends " where " and the request's conditions to the query's statement, binds their
    // values and opens the query; the hits come in the order the file records were written.
    // A request that finds everything lists every file record. Where the search index can
    // answer, the conditions are tried only on the rows it names. When the engine refuses the
    // statement (DbError), the query is left closed with its statement as it was.
    static void open(TQuery &query, const FileSearchRequest &request, IndexUse use = IndexUse::WhereBuilt);

    // The statement of a query opened by open with its columns replaced by the rowid: the
    // keys of its hits in their order.
    struct KeyStatement {
        QString text;
        QVariantList values;
    };
    static KeyStatement keysOf(const TQuery &query);
};
