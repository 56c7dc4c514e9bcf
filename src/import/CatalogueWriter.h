#pragma once

#include "store/ImportRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class Catalogue;
class FileRowModel;
class ProgressSink;
class TLCommFunction;
class TdmQL;

// Stores an import as a disc of the catalogue: the disc record and the file records of
// its rows.
class CatalogueWriter {
public:
    // What the disc record holds besides its code, which the catalogue assigns.
    struct Disc {
        QString name;
        QString label;
        QString serial;
        // Stored with the disc, in its transaction, when given.
        std::optional<ImportRecord> record = std::nullopt;
    };

    // Writes the disc record and then every row under the code that insert gave, all in
    // one transaction with one prepared insert for the rows: name, size and date text as
    // the rows hold them, the folder as the catalogue stores it (the rows' hidden column). The catalogue
    // therefore holds the whole disc or nothing of it. Progress every hundred rows; the
    // stop request rolls everything back at once. A failed insert or commit is reported
    // through ShowError as "导入失败" with the engine's message. Ends with "完成导入" and
    // the progress bar reset, whatever happened. The new disc's code, or nothing when
    // nothing was stored.
    // digests, when given, holds each row's SHA-256 (empty: the file could not be read),
    // stored with the row's record in the same transaction.
    static std::optional<qint64> StoreDisc(TdmQL &dm, TLCommFunction &commFunction, const Disc &disc,
                                           const FileRowModel &rows, ProgressSink &progress,
                                           const QList<QByteArray> *digests = nullptr);

    // The part of StoreDisc that stores the listed rows: one file record per row under the
    // disc's code, inside the transaction StoreDisc holds, with the progress every hundred
    // rows. False when the stop request ended it; an insert that fails throws DbError.
    static bool StoreDiscFiles(TdmQL &dm, qint64 code, const FileRowModel &rows, ProgressSink &progress,
                               const QList<QByteArray> *digests = nullptr);
};
