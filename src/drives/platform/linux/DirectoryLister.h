#pragma once

#include "drives/platform/formats/DirEntry.h"

#include <QList>
#include <QString>
#include <optional>

// Lists a directory of a mounted file system.
class DirectoryLister {
public:
    virtual ~DirectoryLister() = default;
    // The entries of a native directory; nothing when it cannot be read. With
    // fatAttributes, FAT's hidden and system bits also make an entry hidden.
    virtual std::optional<QList<DirEntry>> list(const QString &nativeDir, bool fatAttributes) const = 0;
};
