#pragma once

#include "DirEntry.h"
#include "FileExtent.h"
#include "IsoDirectoryRecord.h"

#include <QList>
#include <optional>

// The records of one ISO 9660 or Joliet directory, read from its bytes.
struct IsoDirectory {
    // The extent its ".." record names (the directory it belongs to); none without one.
    std::optional<quint32> parentExtent;
    // Every record that could be read, in the order recorded, "." and ".." included.
    QList<IsoDirectoryRecord> records;

    // Records lie in logical blocks and never cross one: a length byte of 0 ends the
    // records of its block, and so does a record that does not fit. A record whose name
    // does not fit is passed over.
    static IsoDirectory parse(QByteArrayView bytes, qsizetype blockSize, bool joliet);

    // The listing of records: "." and "..", associated files and records without a name
    // left out; a file recorded in several extents is one entry whose size is their sum
    // (a broken chain ends the file where it breaks). Directories have size 0.
    static QList<DirEntry> entries(const QList<IsoDirectoryRecord> &records);
    // Where the listed file of that name lies (the extents of its records, as entries()
    // sums them), the name matched as it is first, then ignoring case; nothing when no file
    // of the records has it.
    static std::optional<QList<FileExtent>> extents(const QList<IsoDirectoryRecord> &records, const QString &name,
                                                    qint64 blockSize);
};
