#pragma once

#include "ScanFiles.h"
#include "store/ImportRecord.h"

#include <QString>
#include <QStringList>

struct ImportChecksums;
class ProgressSink;
class TLCommFunction;
class TdmQL;

// What an import may do besides scanning and storing, and what it learns.
struct DiscImportOptions {
    ScanTime time = ScanTime::Created;
    // Learns what the scan could not read.
    ScanSkipped *skipped = nullptr;
    // Kept in the disc's import record.
    ImportRecord::Source source = ImportRecord::Source::Drive;
    QString category{};
    // When wanted, every listed file is read whole and its SHA-256 stored with it
    // (progress through the status text); learns how many could not be read.
    ImportChecksums *checksums = nullptr;
    // Has the scan list the files inside archives too (see ScanFiles) and learns what
    // came of them.
    ArchiveScan *archives = nullptr;
};

// An import into the catalogue without a window: a drive's or folder's files that match
// the masks, scanned and stored as a new disc under its name with the drive's label and
// serial number. The import dialog and the main window use the same steps one by one.
class DiscImport {
public:
    enum class Result { Stored, NameTaken, NoFiles, NotStored };

    // True when the catalogue holds a disc of that name (compared as the catalogue
    // compares names, letter case ignored). A lookup the engine refuses throws DbError
    // with its message: a failed check is no answer.
    static bool nameTaken(TdmQL &dm, const QString &name);
    using Options = DiscImportOptions;

    // Scans root (in letter form: "e:\" or "c:\music") of the drive letter with the
    // masks, and stores what it found under name, disc and files in one transaction; a
    // taken name or a scan that found nothing stores nothing, and so does a stop request
    // or a failed write (NotStored, reported through ShowError).
    static Result run(TdmQL &dm, TLCommFunction &commFunction, char letter, const QString &root,
                      const QStringList &masks, const QString &name, ProgressSink &progress,
                      const Options &options = {});

    // The file time of folder imports the user chose last (the import dialog's 文件时间),
    // kept in the settings; the creation time when none was ever chosen.
    static ScanTime savedFolderTime();
    static void saveFolderTime(ScanTime time);
    // Whether imports compute checksums (the import dialog's 计算校验值): off until the user
    // turns it on.
    static bool savedChecksums();
    static void saveChecksums(bool on);
    // Whether the import dialog lists the files inside archives (包括压缩文件中的文件), as
    // the user chose last; off until chosen.
    static bool savedArchives();
    static void saveArchives(bool archives);
};
