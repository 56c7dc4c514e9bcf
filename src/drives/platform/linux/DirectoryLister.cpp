#include "DirectoryLister.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
QString below(const QString &root, const QStringList &components)
{
    QString dir = root;
    for (const QString &part : components)
        dir += (dir.endsWith(u'/') ? u""_s : u"/"_s) + part;
    return dir;
}
} // namespace

std::unique_ptr<OpenDirectory> DirectoryLister::openBelow(const QString &root, const QStringList &components,
                                                          bool fatAttributes) const
{
    if (auto direct = open(below(root, components), fatAttributes))
        return direct;
    std::unique_ptr<OpenDirectory> dir = open(root, fatAttributes);
    for (const QString &component : components) {
        if (!dir)
            return nullptr;
        const QList<DirEntry> &entries = dir->listing().entries;
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const DirEntry &entry) {
            return entry.isDir && entry.name == component;
        });
        dir = found == entries.end() ? nullptr : dir->openChild(*found);
    }
    return dir;
}

std::optional<QList<DirEntry>> DirectoryLister::list(const QString &nativeDir, bool fatAttributes) const
{
    const std::unique_ptr<OpenDirectory> dir = open(nativeDir, fatAttributes);
    if (!dir)
        return std::nullopt;
    return dir->listing().entries;
}
