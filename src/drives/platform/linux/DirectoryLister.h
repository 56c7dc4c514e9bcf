#pragma once

#include "drives/platform/OpenDirectory.h"
#include "drives/platform/formats/DirEntry.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Lists a directory of a mounted file system.
class DirectoryLister {
public:
    virtual ~DirectoryLister() = default;
    // A native directory opened and listed; null when it cannot be. With fatAttributes,
    // FAT's hidden and system bits also make an entry hidden.
    virtual std::unique_ptr<OpenDirectory> open(const QString &nativeDir, bool fatAttributes) const = 0;

    // The directory of the components below root: opened by its path, or, where the path
    // does not reach it (too long, or a name that is not UTF-8 and was read as NameBytes
    // shows it), from root one listed name after the other.
    std::unique_ptr<OpenDirectory> openBelow(const QString &root, const QStringList &components,
                                             bool fatAttributes) const;
    // The entries of a native directory; nothing when it cannot be read.
    std::optional<QList<DirEntry>> list(const QString &nativeDir, bool fatAttributes) const;
};
