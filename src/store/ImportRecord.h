#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

// What one import was, kept beside the disc it stored (table DiscImport, one row per disc,
// removed with the disc): when it ran, the category with its masks, where the files came
// from and the import's options. Discs imported before the table existed have none.
struct ImportRecord {
    enum class Source { Drive, Folder, Image };

    QString importedAt; // DateText
    QString category;
    QStringList masks;
    Source source = Source::Drive;
    QString letter; // the drive letter the program gave the drive or folder
    QString label;
    QString serial;
    QString path; // the folder or image file; empty for a disc in a drive
    // The import's choices as a JSON object, one key each ("fileTime": "created" or
    // "modified"). A feature that adds a choice adds its key here: the column takes any
    // key, so no schema step is needed for one more option, and readers ignore keys
    // they do not know.
    QJsonObject options;
    // For a folder: the file system it lay on, as udev or blkid name it, and the folder's
    // path below that volume's root ('/'-separated, empty for the root), so that an update
    // finds it wherever the volume is mounted now. Empty where the volume told none.
    QString volumeUuid;
    QString volumeLabel;
    QString volumePath;

    static QString sourceName(Source source);
    static Source sourceOf(const QString &name);
};

// Writing and reading the import records. Every call throws DbError with the engine's
// message when the statement fails.
namespace ImportRecordStore {
// Writes the record of the disc of that code; inside the transaction that stores the disc.
void write(const QString &connectionName, qint64 discCode, const ImportRecord &record);
std::optional<ImportRecord> read(const QString &connectionName, qint64 discCode);
// The codes of the discs imported from a folder, ascending.
QList<qint64> folderDiscs(const QString &connectionName);
// The table of the folders' volumes (DiscImportVolume), one row per folder import whose
// volume has a UUID, removed with the disc.
QStringList volumeStatements();
} // namespace ImportRecordStore
