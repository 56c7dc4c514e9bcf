#pragma once

#include "store/FileRow.h"
#include "store/Query.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>

class TdmQL;

// The search of the catalogue's file records, without a window: the search query narrowed
// to the conditions of a search text, and its hits read as rows of the file list.
class FileSearch {
public:
    // Whether a search of names and folders is narrowed by the search index: where it is
    // built (as the program does), or never (the plain scan, for comparison).
    enum class IndexUse { WhereBuilt, Never };

    // Appends " where " and the joined non-empty conditions to the query's statement, binds
    // the pattern once for each, and opens the query; the hits come in the order the file
    // records were written. With no condition the query lists every file record. Where the
    // search index can answer, the conditions are tried only on the rows it names. When the
    // engine refuses the statement (DbError), the query is left closed with its statement
    // as it was.
    // A readingPattern (SearchCondition::readingPattern) also looks for the pinyin of the
    // names and folders searched: a row is a hit when either way finds it.
    static void open(TQuery &query, const QStringList &conditions, const QString &pattern,
                     IndexUse use = IndexUse::WhereBuilt, const QString &readingPattern = {});
    // The conditions followed, when readingPattern is not empty, by those on the pinyin of the
    // names and folders among them.
    static QStringList withReadings(const QStringList &conditions, const QString &readingPattern);
    // The bound values of the non-empty conditions (of withReadings): the pattern's minimum
    // length and the pattern for each, the reading pattern twice for each on pinyin.
    static QVariantList values(const QStringList &conditions, const QString &pattern,
                               const QString &readingPattern = {});
    // The row of the query's current hit: the name of its disc (empty for a code the names
    // do not hold), file name, size, date text and folder.
    static FileRow hitRow(TQuery &query, const QHash<qint32, QString> &discNames);
    // hitRow for every hit of a listing, the columns looked up once.
    class HitReader {
    public:
        HitReader(TQuery &query, const QHash<qint32, QString> &discNames);
        FileRow row() const;

    private:
        const QHash<qint32, QString> &m_discNames;
        TField m_disc, m_name, m_size, m_date, m_path;
    };
    // The names of the catalogue's discs by code.
    static QHash<qint32, QString> discNames(TdmQL &dm);
};
