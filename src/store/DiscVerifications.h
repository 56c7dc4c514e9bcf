#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// One verification of a disc against its catalogue (table DiscVerification, removed with
// the disc): when it ran, how long it took, what it read and how many files of each kind
// it found.
struct Verification {
    QString verifiedAt; // DateText
    double seconds = 0;
    qint64 bytes = 0;
    qint64 same = 0;
    qint64 changed = 0;
    qint64 missing = 0;
    qint64 added = 0; // new files on the disc
    qint64 unreadable = 0;
    qint64 listMismatches = 0; // files that differ from a checksum list on the disc

    enum class State { Whole, Differences, Unreadable };
    // Unreadable files count first: a disc that does not read is the worse news.
    State state() const
    {
        if (unreadable > 0)
            return State::Unreadable;
        return changed + missing + added + listMismatches > 0 ? State::Differences : State::Whole;
    }
    double megabytesPerSecond() const { return seconds > 0 ? double(bytes) / (1024.0 * 1024.0) / seconds : 0.0; }
};

// A disc for the list of discs to check: never verified (verifiedAt empty) or not since.
struct DueDisc {
    qint32 code = 0;
    QString name;
    QString verifiedAt;
};

// Every call throws DbError with the engine's message when a statement fails.
namespace DiscVerificationStore {
// The statements that add the table to a catalogue.
QStringList createStatements();
// False for an older catalogue that could not take the table (one that may only be read).
bool present(const QString &connectionName);
void record(const QString &connectionName, qint64 discCode, const Verification &verification);
// Every verification of the disc, the latest first.
QList<Verification> history(const QString &connectionName, qint64 discCode);
// The latest verification of each disc verified at least once.
QHash<qint32, Verification> latest(const QString &connectionName);
// The files of the disc that lie inside archives on it, as "folder" and "name" pairs: a
// verification compares the archives themselves, not what was listed inside them.
QList<std::pair<QString, QString>> archiveMembers(const QString &connectionName, qint64 discCode);
// The discs never verified, then those last verified before the cutoff (a DateText), the
// oldest first; by name within each.
QList<DueDisc> due(const QString &connectionName, const QString &cutoff);
} // namespace DiscVerificationStore
