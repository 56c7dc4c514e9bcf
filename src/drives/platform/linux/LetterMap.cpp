#include "LetterMap.h"

#include "drives/platform/Platform.h"

#include <QDir>
#include <QMap>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {
constexpr char kFirstLetter = 'c';

bool isUnder(const QString &path, const QString &root)
{
    if (root == u"/"_s)
        return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}
} // namespace

LetterMap LetterMap::build(const QList<MountEntry> &mounts, const QList<MountEntry> &opticalDrives)
{
    LetterMap map;
    MountEntry root{u"/"_s, {}, {}, false, true};
    QSet<QString> opticalDevices, opticalRoots;
    for (const MountEntry &drive : opticalDrives) {
        opticalDevices.insert(drive.device);
        if (!drive.rootPath.isEmpty())
            opticalRoots.insert(QDir::cleanPath(drive.rootPath));
    }
    QMap<QString, MountEntry> others; // by mount point; a later mount hides an earlier one
    for (const MountEntry &mount : mounts) {
        const QString path = QDir::cleanPath(mount.rootPath);
        if (path == u"/"_s)
            root = mount;
        else if (opticalDevices.contains(mount.device) || opticalRoots.contains(path))
            continue; // a disc in an optical drive: the drive's letter stands for it
        else if (mount.isDirectory && path.startsWith(u'/'))
            others.insert(path, MountEntry{path, mount.device, mount.fsType, mount.readOnly, true});
    }
    root.rootPath = u"/"_s;
    map.m_slots[kFirstLetter - 'a'] = DriveSlot{DriveSlot::Kind::Root, kFirstLetter, root};
    // Optical drives come first, so their letters stay the same whatever else is mounted.
    // A disc's mount point changes with the disc: the drive is asked for it each time.
    for (const MountEntry &drive : opticalDrives)
        map.assign(DriveSlot{DriveSlot::Kind::Optical, 0, MountEntry{{}, drive.device, {}, true, true}});
    for (const MountEntry &mount : others)
        map.assign(DriveSlot{DriveSlot::Kind::Mount, 0, mount});
    return map;
}

char LetterMap::assign(DriveSlot slot)
{
    for (char letter = kFirstLetter; letter <= 'z'; ++letter) {
        auto &entry = m_slots[size_t(letter - 'a')];
        if (!entry) {
            slot.letter = letter;
            entry = slot;
            return letter;
        }
    }
    return 0;
}

const DriveSlot *LetterMap::slot(char letter) const
{
    const char l = Platform::driveLetter(letter);
    if (!l)
        return nullptr;
    const auto &entry = m_slots[size_t(l - 'a')];
    return entry ? &*entry : nullptr;
}

QList<char> LetterMap::letters() const
{
    QList<char> result;
    for (const auto &entry : m_slots) {
        if (entry)
            result.append(entry->letter);
    }
    return result;
}

std::optional<DriveLocation> LetterMap::locate(const QString &nativePath) const
{
    const QString path = QDir::cleanPath(nativePath);
    const DriveSlot *best = nullptr;
    for (const auto &entry : m_slots) {
        const QString root = entry ? entry->mount.rootPath : QString();
        if (!root.isEmpty() && isUnder(path, root) && (!best || root.size() > best->mount.rootPath.size()))
            best = &*entry;
    }
    if (!best)
        return std::nullopt;
    const QString &root = best->mount.rootPath;
    QString relative = path.mid(root.size());
    while (relative.startsWith(u'/'))
        relative.remove(0, 1);
    return DriveLocation{best->letter, relative};
}
