#pragma once

#include "DriveRoot.h"
#include "drives/platform/DigestReader.h"
#include "store/DiscVerifications.h"

#include <QList>
#include <QString>
#include <optional>

class ProgressSink;
class TdmQL;

// One file that is not as the catalogue holds it, for the result of a verification.
struct VerifiedFile {
    enum class Kind { Changed, Missing, New, Unreadable, ListMismatch };
    Kind kind = Kind::Changed;
    QString name;
    QString size;
    QString date;
    QString folder; // from the disc's root, as file records hold it: "\music\"
    QString detail; // what differs, in the interface's language

    // "已改变", "缺少", …; and the word quillon-cli writes ("changed", "missing", …).
    static QString kindText(Kind kind);
    static QString kindKey(Kind kind);
};

// Reads a catalogued disc again and compares it file by file with its catalogue: the same,
// changed (size or date, with the file time the disc was imported with; or its content,
// where a checksum was stored), missing, new (files that match the masks the disc was
// imported with; not for discs imported without an import record) and unreadable. Every
// file the catalogue lists is read whole, in the order of the disc. The files named by the
// checksum lists on the disc (SHA256SUMS, MD5SUMS, *.md5, *.sfv) are checked against them.
class DiscVerification {
public:
    // Where the disc is read, as an import reads it.
    using Source = DriveRoot;
    // The disc in a drive (a real or virtual optical drive whose disc has the catalogued
    // label and serial number), else the folder it was imported from; nothing when neither
    // is at hand.
    static std::optional<Source> locate(TdmQL &dm, qint64 disc);

    struct Outcome {
        Verification counts;
        QList<VerifiedFile> files; // in the order of the catalogue, then the new ones
    };
    // Nothing when stopped. Progress reports go to the status text; pending events run.
    static std::optional<Outcome> run(TdmQL &dm, qint64 disc, const Source &source, ProgressSink &progress,
                                      DigestLimits limits = {});

    // The time before which a disc's last verification makes it due again: months ago.
    static QString dueCutoff(int months);
    // "whole", "differences", "unreadable": the state as quillon-cli writes it.
    static QString stateKey(Verification::State state);

    // "相同 n，已改变 n，…" with what was read and how fast.
    static QString summary(const Verification &counts);
};
