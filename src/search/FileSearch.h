#pragma once

#include "store/FileRow.h"
#include "store/Query.h"

#include <QHash>
#include <QString>

// The hits of a search of the file records (opened through Catalogue::openSearch), read as
// rows of the file list.
class FileSearch {
public:
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
};
