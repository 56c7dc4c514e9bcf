#pragma once

#include "drives/platform/formats/DirEntry.h"

#include <QList>

#include <memory>

// A directory opened for a walk. Its sub-directories are opened from it, by the bytes of
// their names where the system gives them, never by a path: neither a name that is not
// UTF-8 nor the length of the path keeps a walk out. An open directory of a mounted file
// system holds one file descriptor.
class OpenDirectory {
public:
    struct Listing {
        QList<DirEntry> entries;
        // Entries that are there but could not be examined (no permission), folders and
        // files apart; they are not among the entries.
        int unreadableFolders = 0;
        int unreadableFiles = 0;
    };

    virtual ~OpenDirectory() = default;
    virtual const Listing &listing() const = 0;
    // A sub-directory named by one of the entries; null when it cannot be opened or listed.
    virtual std::unique_ptr<OpenDirectory> openChild(const DirEntry &entry) = 0;
};
