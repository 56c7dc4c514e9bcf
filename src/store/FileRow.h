#pragma once

#include "CatalogueRecords.h"

#include <QString>
#include <array>

// One row of a file list: the caption (first column) and the four sub-item texts. The two
// lists give the columns different meanings; build and read rows through the names below.
struct FileRow {
    QString caption;
    std::array<QString, 4> sub;
    // A file inside an archive rather than on the disc (only scanned rows say so).
    bool archiveMember = false;

    static constexpr int ColumnCount = 5;
    // Column 0 is the caption, 1..4 the sub-items.
    const QString &cell(int column) const { return column == 0 ? caption : sub[size_t(column - 1)]; }
    bool operator==(const FileRow &) const = default;

    // The main list (the files of a disc, the hits of a search): the disc's name, the file
    // record's name, size, date text and folder.
    enum ListColumn { ListDisc, ListName, ListSize, ListDate, ListPath };
    static FileRow listed(const QString &disc, const FileRecord &file)
    {
        return {disc, {file.name, file.size, file.date, file.folder}};
    }

    // The import list: name, size and date text of a scanned file, its folder as the list
    // shows it (with the drive: "g:\音乐\"), and in the hidden fifth column the folder as
    // the catalogue will store it (from the disc's root: "\音乐\").
    enum ScanColumn { ScanName, ScanSize, ScanDate, ScanShownFolder, ScanStoredFolder };
    static FileRow scanned(const QString &name, const QString &size, const QString &date, const QString &shownFolder,
                           const QString &storedFolder)
    {
        return {name, {size, date, shownFolder, storedFolder}};
    }
    // The file record a scanned row becomes on the disc of that code.
    FileRecord scannedRecord(qint64 disc) const { return {disc, caption, sub[0], sub[1], sub[3]}; }
};
