#pragma once

#include "DirectoryLister.h"

#include <sys/stat.h>

// readdir + statx. Creation time is the birth time where the file system keeps one,
// else the modification time; hidden means the name starts with a dot. A symbolic link
// to a file is listed as that file; links to directories, dangling links and link loops
// are left out, so a walk never follows a link into a directory. Names are read by
// NameBytes; sub-directories are opened by their bytes relative to their parent.
class ReaddirLister : public DirectoryLister {
public:
    std::unique_ptr<OpenDirectory> open(const QString &nativeDir, bool fatAttributes) const override;

    // 100-ns ticks since 1601 of a time in seconds and nanoseconds since 1970 (0 before 1601).
    static quint64 fileTimeFromUnix(qint64 seconds, quint32 nanoseconds);

    // The listing of an open directory (the descriptor stays open); nothing when it cannot
    // be read.
    std::optional<OpenDirectory::Listing> listOpen(int dirFd, bool fatAttributes) const;

protected:
    // The listed directory itself, which tells the entries on its own device; nothing
    // when the system does not answer.
    virtual std::optional<struct statx> directoryStat(int dirFd) const;
};
