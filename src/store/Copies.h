#pragma once

#include "FileRow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Which catalogued files exist on one disc only and which on several. Two files are copies
// when both have checksums and these are equal, or when either has none and their names,
// sizes and times are equal. Groups of copies are made in two steps, which makes the rule
// transitive: files with a checksum are grouped by it; a file without one joins the group
// of the smallest checksum among the files of its name, size and time, and the files of a
// name, size and time of which none has a checksum form a group of their own. (Two files
// of one name, size and time whose checksums differ are different files, and stay in
// different groups; a file without a checksum beside them is counted with the first.)
// Every question reads the whole catalogue in SQLite's sorter, not in memory: unreadable
// files count as files without a checksum.
class Copies {
public:
    struct DiscShare {
        qint64 code = 0;
        QString name;
        qint64 files = 0;
        qint64 copied = 0; // files that have a copy on another disc
    };
    // Each disc (or the one given), in the order of the disc tree.
    static QList<DiscShare> shares(const QString &connectionName, std::optional<qint64> disc = {});

    // The files (of one disc, or all) that exist on that disc only, as the main list shows
    // them: disc name, file name, size, time, folder; in the order of the discs' codes and
    // the files' records.
    static void single(const QString &connectionName, std::optional<qint64> disc,
                       const std::function<void(FileRow &&)> &each);

    struct Group {
        QString name;
        QString size;
        QString time;
        QByteArray digest; // empty: grouped by name, size and time
        QStringList discs; // by name, letter case ignored
    };
    // The groups of copies held on several discs (those holding a file of one disc).
    static void duplicates(const QString &connectionName, std::optional<qint64> disc,
                           const std::function<void(Group &&)> &each);
};
