#pragma once

#include "drives/platform/formats/FileHash.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A list of checksums found on a disc: SHA256SUMS and MD5SUMS (as sha256sum and md5sum write
// them, "digest  name" or "digest *name", and the BSD form "SHA256 (name) = digest"), *.md5
// (the same) and *.sfv ("name CRC32"). The names are relative to the list's folder. The
// list's text is untrusted: a line that is not of the form is passed over and counted.
struct ChecksumList {
    struct Entry {
        QString path; // '/'-separated, relative to the list's folder
        QByteArray digest;
    };
    DigestKind kind = DigestKind::Sha256;
    QList<Entry> entries;
    int badLines = 0;

    // The kind of list a file of that name is, by its name alone; nothing for other files.
    static std::optional<DigestKind> kindOf(const QString &fileName);
    static ChecksumList parse(DigestKind kind, const QByteArray &text);
};
