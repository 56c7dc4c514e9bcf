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
// sizes and times are equal; a group of copies is every file reached from one by that rule,
// one step after the other (so a file without a checksum joins two files of its name, size
// and time even where their checksums differ). Unreadable files count as files without a
// checksum. Copies are of one size under either rule: the file records are read in the
// order of their sizes (SQLite's sorter orders them, on disk where they are many), and only
// the files of one size are held in memory at a time.
class Copies {
public:
    // Called with the number of records read so far, every few thousand of them and at the
    // end; false stops the walk (what was handed on stays, the rest is not read).
    using Going = std::function<bool(qsizetype read)>;

    // An index over size, name, time and disc, which gives the walk its order without a
    // sort. Not part of the catalogue: it made storing six times slower at 1,000,000
    // records (bench-copies measures both).
    static QStringList indexStatements();

    struct DiscShare {
        qint64 code = 0;
        QString name;
        qint64 files = 0;
        qint64 copied = 0; // files that have a copy on another disc
    };
    // Each disc (or the one given), in the order of the disc tree.
    static QList<DiscShare> shares(const QString &connectionName, std::optional<qint64> disc = {},
                                   const Going &going = {});

    // The files (of one disc, or all) that exist on that disc only, as the main list shows
    // them: disc name, file name, size, time, folder; in the order of their sizes (as text).
    static void single(const QString &connectionName, std::optional<qint64> disc,
                       const std::function<void(FileRow &&)> &each, const Going &going = {});

    struct Group {
        QString name;
        QString size;
        QString time;
        QByteArray digest; // empty: grouped by name, size and time
        QStringList discs; // by name, letter case ignored
    };
    // The groups of copies held on several discs (those holding a file of one disc).
    static void duplicates(const QString &connectionName, std::optional<qint64> disc,
                           const std::function<void(Group &&)> &each, const Going &going = {});

    // The three at once, in one walk of the records: the files on one disc only and the
    // groups handed on as they are found, the shares answered at the end.
    static QList<DiscShare> all(const QString &connectionName, std::optional<qint64> disc,
                                const std::function<void(FileRow &&)> &single,
                                const std::function<void(Group &&)> &duplicate, const Going &going = {});
};
