#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// What the user writes about a disc beyond its record: where it is kept, a description and
// keywords (table DiscDetails, one row per disc that has any, removed with the disc).
struct DiscDetails {
    QString location;
    QString note;
    QString keywords; // separated by blanks or commas, as the user typed them

    bool operator==(const DiscDetails &) const = default;
};

// One disc as the tree, its filter and the command line's listings see it: the record, the
// details and the current lending.
struct DiscOverview {
    qint32 code = 0;
    QString name;
    QString label;
    QString serial;
    DiscDetails details;
    QString borrower; // empty when the disc is not lent
    QString lentOn;   // yyyy-MM-dd
};

// The disc's files counted and their sizes added up.
struct DiscTotals {
    qint64 files = 0;
    qint64 bytes = 0;
};

// Reading and writing the details; every call throws DbError with the engine's message
// when a statement fails.
namespace DiscDetailsStore {
DiscDetails read(const QString &connectionName, qint64 discCode);
// Writes the details; a disc whose details are all empty keeps no row.
void write(const QString &connectionName, qint64 discCode, const DiscDetails &details);
DiscTotals totals(const QString &connectionName, qint64 discCode);
// The number of files of every disc that has any, by code.
QHash<qint64, qint64> fileCounts(const QString &connectionName);
// Every disc in the order of the tree (by name, COLLATE LOCALE), in one statement.
QList<DiscOverview> overviews(const QString &connectionName);
std::optional<DiscOverview> overview(const QString &connectionName, qint64 discCode);
// The code of the disc of that name, compared as the import compares names.
std::optional<qint64> codeOf(const QString &connectionName, const QString &name);

enum class Rename { Done, NameTaken, Empty };
// Renames the disc unless another disc has the name (letter case ignored, as the import
// checks) or the name is blank.
Rename rename(const QString &connectionName, qint64 discCode, const QString &name);
} // namespace DiscDetailsStore
