#pragma once

#include "CatalogueRecords.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A file record of a disc as an update compares it: its rowid, what it holds and the
// checksum stored with it (none: imported without; empty: it could not be read).
struct StoredFile {
    qint64 row = 0;
    FileRecord record;
    std::optional<QByteArray> digest;
};

// The statements an update of a disc sends, inside the transaction that applies it. The
// search index follows by its triggers; a removed record's checksum goes with it. Every call
// throws DbError with the engine's message when the statement fails.
namespace DiscFileEdits {
// The disc's file records in the order they were written, with their checksums.
QList<StoredFile> filesOf(const QString &connectionName, qint64 discCode);
void remove(const QString &connectionName, qint64 row);
// A file whose size or date is not what it was: the record keeps its place in the list.
void change(const QString &connectionName, qint64 row, const QString &size, const QString &date);
// A changed file's checksum is no longer known.
void forgetChecksum(const QString &connectionName, qint64 row);
} // namespace DiscFileEdits
