#pragma once

#include <QByteArray>
#include <QString>

// One entry of a directory listing ("." and ".." are never listed).
struct DirEntry {
    QString name;
    // The name's bytes as the system gave them, by which a walk opens the entry; empty for
    // entries read from a disc's own records.
    QByteArray nativeName;
    bool isDir = false;
    bool hidden = false;
    // A directory on another file system than the one listed (a mount point): that file
    // system has its own letter, so a walk does not descend into it.
    bool otherDevice = false;
    qint64 size = 0;
    // 100-nanosecond ticks since 1601-01-01 00:00 UTC.
    quint64 creationTime = 0;
    // When the content was last written, in the same ticks; a disc that records one time
    // per file gives that time for both.
    quint64 modificationTime = 0;
};
