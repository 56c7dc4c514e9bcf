#pragma once

#include "drives/platform/DigestReader.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class FileRowModel;
struct FileRow;

// The import's choice to compute checksums (计算校验值) and what came of it. The choice is
// kept in the settings with the import's other choices (DiscImport::savedChecksums).
struct ImportChecksums {
    bool wanted = false;
    int files = 0;      // files read (a file listed under two masks counts once)
    int unreadable = 0; // of them, the ones that could not be read
    qint64 bytes = 0;
    // For the status after an import: how many could not be read; empty when all could.
    QString text() const;
};

// Reads the files of an import's rows whole (in letter form, as the scan lists them) on a
// drive and gives each row's SHA-256, empty for a file that could not be read. Reports
// "已校验:n个文件，x MB，y MB/s" and lets pending events run at least every 100 ms (every 25 ms it looks) while the
// files are read on reader threads. Nothing when stopped.
class RowChecksums {
public:
    using Report = std::function<void(const QString &text)>;
    using Stopped = std::function<bool()>;

    static std::optional<QList<QByteArray>> compute(char letter, const FileRowModel &rows, const Report &report,
                                                    const Stopped &stopped, ImportChecksums &outcome,
                                                    DigestLimits limits = {});

    // The files of those paths below the drive's root read whole in the same way, each giving
    // its digest of that kind (empty: it could not be read); nothing when stopped.
    struct Reading {
        QList<QByteArray> results;
        int unreadable = 0;
        qint64 bytes = 0;
    };
    static std::optional<Reading> read(char letter, const QStringList &paths, DigestKind kind, const Report &report,
                                       const Stopped &stopped, DigestLimits limits = {});

    // The path of a scanned row's file below its drive's root: "e:\music\" and "a.mp3" give
    // "music/a.mp3".
    static QString relativePath(const FileRow &row);

    // "已校验:n个文件，x MB，y MB/s".
    static QString progressText(int files, qint64 bytes, double seconds);
};
