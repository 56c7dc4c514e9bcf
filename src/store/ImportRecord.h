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

    static QString sourceName(Source source);
    static Source sourceOf(const QString &name);
};

// Writing and reading the import records. Every call throws DbError with the engine's
// message when the statement fails.
namespace ImportRecordStore {
// Writes the record of the disc of that code; inside the transaction that stores the disc.
void write(const QString &connectionName, qint64 discCode, const ImportRecord &record);
std::optional<ImportRecord> read(const QString &connectionName, qint64 discCode);
} // namespace ImportRecordStore
