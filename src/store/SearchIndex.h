#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <optional>

class QSqlDatabase;

// The search index of the file records' names (SearchName) and folders (SearchPath): two
// trigram full-text tables of SQLite's own FTS5, holding no text (only which rows hold which
// three characters). The rows up to the watermark in SearchIndexState are in it; the rows
// above it, the tail, are not yet: a search reads the tail as it is, and the builder adds it
// to the index in batches after each import, or after a catalogue written before the index
// existed got the empty tables. Triggers on CdRomListDt remove deleted rows and change edited
// ones in the transaction that deletes or edits them. New rows are not indexed one by one
// in the import's transaction: FTS5 writes out its pending terms at every statement, which
// made storing ten times slower. Each value is indexed as its ASCII letters upper-cased, as
// the search compares them, followed by two characters U+0001, so that every character of a
// value begins a term.
// Two more tables of the same kind hold the pinyin of names and folders (SearchNameReading,
// SearchPathReading: PinyinReading::indexedText) with a watermark of their own. The builder
// computes the readings, as no trigger can; a deleted row's readings stay behind (the search
// checks every row the index names) and are counted, and once they are many the reading
// tables are emptied and built anew.
class SearchIndex {
public:
    enum class Column { Name, Path, NameReading, PathReading };

    // The statements that add the index, holding no row yet, to a catalogue.
    static QStringList createStatements();
    // The statements that add the reading tables, holding no row yet.
    static QStringList createReadingStatements();
    // Turns a catalogue back into one written before the index existed (tests, benchmarks):
    // without the tables of the later steps either.
    static void remove(const QString &connectionName);

    struct Progress {
        qint64 indexedUpTo = 0; // rowid
        qint64 readUpTo = 0;    // rowid: the rows up to it are in the reading tables
        qint64 lastRow = 0;     // the highest rowid of the file records
        qint64 staleReadings = 0;
        // So many deleted rows' readings left behind (more than a quarter of the live rows,
        // and more than a few) that the reading tables are built anew.
        bool worn = false;
        // The rows up to it are in the tables a search uses, with readings or without.
        qint64 upTo(bool readings) const { return readings ? std::min(indexedUpTo, readUpTo) : indexedUpTo; }
        qint64 tail() const { return std::max<qint64>(lastRow - upTo(true), 0); }
        bool readingsWorn() const { return worn; }
    };
    // None for a catalogue without the index. Three single-row reads, and once the stale
    // readings are more than a few, a count of the live rows up to four times their number
    // (again only after one of them changed).
    static std::optional<Progress> progress(const QString &connectionName);
    // Indexes the next rows of the tail (at most maxRows) in one transaction and moves the
    // watermark past them: names and folders first, then their readings. Empties worn
    // reading tables instead.
    static Progress buildBatch(const QString &connectionName, int maxRows);

    static QString table(Column column);

    // How many rows hold the term (three characters, quoted for the index's query language),
    // counting up to limit only.
    static qint64 rowsWithTerm(const QString &connectionName, Column column, const QString &quotedTerm, qint64 limit);

    // The index's terms (three characters) that begin with prefix, an upper-cased text of one
    // or two characters. Gives up (false) when there are more than maxTerms of them or they
    // occur in more than maxRows rows, so that the caller scans instead.
    static bool termsStartingWith(const QString &connectionName, Column column, const QString &prefix, int maxTerms,
                                  qint64 maxRows, QStringList &terms);
};
