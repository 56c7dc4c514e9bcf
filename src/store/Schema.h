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

    struct Category {
        QString name;
        QStringList masks;
    };
    // The categories a new catalogue carries, so a first import needs no set-up.
    static QList<Category> defaultCategories();

    // Writes a new catalogue file; throws DbError when the file exists or cannot be
    // written. The file appears complete or not at all.
    static void create(const QString &path, bool withCategories);

    // Throws DbError unless the open connection holds a catalogue.
    static void verify(const QString &connectionName);
};
