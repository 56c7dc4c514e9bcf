#pragma once

#include "store/CatalogueRecords.h"
#include "store/DiscFileEdits.h"

#include <QByteArray>
#include <QList>

class FileRowModel;

// How a disc's file records differ from a new scan of its source. A file is matched by its
// folder and name as the records hold them (a file listed twice, under two masks, pairs up
// in order); a matched file has changed when its size or date text differs, or when the
// record and the scan both have a checksum and they differ. Window-free, so that the
// window, quillon-cli and the tests compare alike.
class DiscDifference {
public:
    struct Change {
        StoredFile stored;
        int scanRow = 0; // the row of the scan that holds the file now
    };

    // The scan's rows the catalogue lacks, in the scan's order.
    QList<int> added;
    // The records of files that are no longer there, in the records' order.
    QList<StoredFile> removed;
    QList<Change> changed;
    qsizetype unchanged = 0;

    bool isEmpty() const { return added.isEmpty() && removed.isEmpty() && changed.isEmpty(); }

    // digests, when given, holds each scanned row's SHA-256 (empty: unreadable).
    static DiscDifference between(const QList<StoredFile> &stored, const FileRowModel &scan,
                                  const QList<QByteArray> *digests = nullptr);

    // "新增 n 个文件，删除 m 个，更改 k 个，未变 u 个".
    QString countsText() const;
};
