#pragma once

#include <QString>
#include <QStringList>

// The values the catalogue answers with and is written with (see Catalogue).

// A disc record: its code, which the catalogue assigns, and what the import wrote.
struct DiscRecord {
    qint64 code = 0;
    QString name;
    QString label;
    QString serial;
    bool operator==(const DiscRecord &) const = default;
};

// A disc with the number of its file records.
struct DiscSummary {
    DiscRecord disc;
    qint64 files = 0;
};

// A file record as the catalogue holds it: the size and the date as their stored texts, the
// folder from the disc's root ("\音乐\"), without a drive.
struct FileRecord {
    qint64 disc = 0;
    QString name;
    QString size;
    QString date;
    QString folder;
    bool operator==(const FileRecord &) const = default;
};

// The fields of a file record, as a list reads them one at a time.
enum class FileField { Name, Size, Date, Folder };

// An extension category and its masks, in the order the category editor lists them.
struct CategoryRecord {
    qint64 code = 0;
    QString name;
    QStringList masks;
};
