#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;

// The search index of the file records' names (SearchName) and folders (SearchPath): two
// trigram full-text tables of SQLite's own FTS5, holding no text (only which rows hold which
// three characters), kept by triggers on CdRomListDt in the transaction that writes or
// deletes the rows. A catalogue written before the index existed gets it empty and fills it
// in batches (buildBatch); the watermark in SearchIndexState says how far: the rows up to it
// are indexed. Each value is indexed as its ASCII letters upper-cased, as the search compares
// them, followed by two characters U+0001, so every character of a value begins a term.
class SearchIndex {
public:
    enum class Column { Name, Path };

    // The statements that add the index to a catalogue; complete for a new, empty one,
    // else holding no row yet.
    static QStringList createStatements(bool complete);
    // Turns a catalogue back into one written before the index existed (tests, benchmarks).
    static void remove(const QString &connectionName);

    struct Progress {
        qint64 indexedUpTo = 0; // rowid
        qint64 lastRow = 0;     // the highest rowid of the file records
        bool complete = false;
    };
    // False for a catalogue without the index or one still being filled: a single-row read.
    static bool complete(const QString &connectionName);
    static Progress progress(const QString &connectionName);
    // Indexes the next rows (at most maxRows) in one transaction and moves the watermark
    // past them; marks the index complete when no row is left.
    static Progress buildBatch(const QString &connectionName, int maxRows);

    static QString table(Column column);

    // The index's terms (three characters) that begin with prefix, an upper-cased text of one
    // or two characters. Gives up (false) when there are more than maxTerms of them or they
    // occur in more than maxRows rows, so that the caller scans instead.
    static bool termsStartingWith(const QString &connectionName, Column column, const QString &prefix, int maxTerms,
                                  qint64 maxRows, QStringList &terms);
};
