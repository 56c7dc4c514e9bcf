#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The catalogue file's tables: discs (CdRomListMt), their files (CdRomListDt),
// extension categories (extMt) and their masks (extDt).
class CatalogueSchema {
public:
    // Marks a catalogue file in its SQLite header ("QLDB").
    static constexpr int ApplicationId = 0x514C4442;
    // PRAGMA user_version of a catalogue this program writes: 1 the four tables, 2 the
    // search index (SearchIndex), 3 the pinyin of names and folders in it, 4 each disc's
    // import record, details and lendings (DiscRecordsSchema), 5 the files' checksums
    // (FileChecksums), 6 which files are inside archives, 7 the volume each folder import
    // lay on (ImportRecordStore::volumeStatements), 8 the verifications of discs
    // (DiscVerificationStore).
    static constexpr int CurrentVersion = 8;

    struct Category {
        QString name;
        QStringList masks;
    };
    // The categories a new catalogue carries, so a first import needs no set-up.
    static QList<Category> defaultCategories();

    // Writes a new catalogue file; throws DbError when the file exists or cannot be
    // written. The file appears complete or not at all.
    static void create(const QString &path, bool withCategories);

    // PRAGMA user_version of the open catalogue.
    static int version(const QString &connectionName);
    // Throws DbError unless the open connection holds a catalogue whose tables are tables and
    // whose triggers and views are the program's own for its version (a file from someone
    // else may carry others, which would run at the next import); the error names the foreign
    // ones. Tables and indexes users add stay allowed. A catalogue of a newer version is not
    // compared: its triggers never run, since it is only read.
    static void verify(const QString &connectionName);
    // Brings a catalogue of an earlier version up to CurrentVersion, one numbered step per
    // transaction. Each step only adds tables and triggers: it takes no time on any size of
    // catalogue. Throws DbError when a step cannot be written (the catalogue keeps the
    // version it reached).
    static void upgrade(const QString &connectionName);
    // Gives a catalogue of this version the search index and pinyin tables back where any of
    // their tables or triggers was dropped: empty, to be filled as after an upgrade. Of the
    // steps that hold data of their own (the discs' records, the checksums) only the missing
    // objects are added, and the others keep their rows.
    static void restoreDerivedTables(const QString &connectionName);
};
