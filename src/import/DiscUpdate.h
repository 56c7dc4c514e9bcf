#pragma once

#include "DiscDifference.h"
#include "RowChecksums.h"
#include "ScanFiles.h"
#include "store/FileRowModel.h"
#include "store/ImportRecord.h"

#include <QString>
#include <optional>

class ProgressSink;
class TdmQL;

// Brings a catalogued disc up to date with its source, in place: the source its import
// record names is scanned again with the record's masks and options, the difference shown,
// and then applied in one transaction. The disc keeps its code, its details and lendings,
// and the records (with their checksums) of the files that did not change; new files get
// new records after the others. Window-free: the window and quillon-cli both use it.
class DiscUpdate {
public:
    enum class Result { Ready, NoRecord, NoSource, Stopped };

    // Where a source is now: the drive and the scanned folder in letter form ("e:\photos").
    struct Source {
        char letter = 0;
        QString root;
    };

    DiscUpdate(TdmQL &dm, qint64 discCode);

    // The import record's source as it can be found now: a folder on the volume of the
    // recorded UUID wherever that is mounted (else, for a record without one, at its path),
    // a disc in a drive by its label and serial number. Nothing when it is not there.
    static std::optional<Source> findSource(const ImportRecord &record);
    // How the source is named in messages: the folder's path, or the disc's label and serial.
    static QString sourceText(const ImportRecord &record);

    // Finds the source, scans it (and, for a disc imported with checksums, reads every file)
    // and compares; nothing is written. Stopped when the progress asked to stop.
    Result prepare(ProgressSink &progress);
    const DiscDifference &difference() const { return m_difference; }
    const std::optional<ImportRecord> &record() const { return m_record; }
    const ScanSkipped &skipped() const { return m_skipped; }
    const ImportChecksums &checksums() const { return m_checksums; }
    // A row of the scan as the file record it becomes.
    FileRecord scannedRecord(int row) const { return m_rows.row(row).scannedRecord(m_disc); }

    // Writes the prepared difference in one transaction; false (nothing written) when the
    // progress asked to stop. A statement that fails throws DbError and writes nothing.
    bool apply(ProgressSink &progress);

private:

    TdmQL &m_dm;
    qint64 m_disc;
    std::optional<ImportRecord> m_record;
    FileRowModel m_rows;
    std::optional<QList<QByteArray>> m_digests;
    DiscDifference m_difference;
    ScanSkipped m_skipped;
    ImportChecksums m_checksums;
};
