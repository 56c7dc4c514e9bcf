#include "ReaddirLister.h"

#include "drives/platform/formats/UniqueFd.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

namespace {
constexpr qint64 kSecondsFrom1601To1970 = 11644473600LL;
constexpr unsigned kStatxWanted = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME;

bool sameDevice(const struct statx &a, const struct statx &b)
{
    return a.stx_dev_major == b.stx_dev_major && a.stx_dev_minor == b.stx_dev_minor;
}

// FAT keeps hidden and system bits of its own; the kernel shows them through an ioctl.
bool fatHidden(int dirFd, const char *name)
{
    const UniqueFd fd(openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    quint32 attributes = 0;
    if (!fd.valid() || ioctl(fd.get(), FAT_IOCTL_GET_ATTRIBUTES, &attributes) != 0)
        return false;
    return (attributes & (ATTR_HIDDEN | ATTR_SYS)) != 0;
}

// What a directory entry is, following a symbolic link only to a file.
std::optional<struct statx> entryStat(int dirFd, const char *name)
{
    struct statx st {};
    if (statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kStatxWanted, &st) != 0)
        return std::nullopt;
    if (!S_ISLNK(st.stx_mode))
        return st;
    if (statx(dirFd, name, AT_NO_AUTOMOUNT, kStatxWanted, &st) != 0 || S_ISDIR(st.stx_mode))
        return std::nullopt;
    return st;
}

// dir: the listed directory's own answer; without one no entry can be told to lie on
// another device, and none is.
DirEntry makeEntry(const char *name, const struct statx &st, const std::optional<struct statx> &dir)
{
    DirEntry entry;
    entry.name = QFile::decodeName(name);
    entry.isDir = S_ISDIR(st.stx_mode);
    entry.hidden = name[0] == '.';
    entry.otherDevice = entry.isDir && dir && !sameDevice(st, *dir);
    entry.size = entry.isDir ? 0 : qint64(st.stx_size);
    const struct statx_timestamp &t = (st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime;
    entry.creationTime = ReaddirLister::fileTimeFromUnix(t.tv_sec, t.tv_nsec);
    entry.modificationTime = ReaddirLister::fileTimeFromUnix(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
    return entry;
}
} // namespace

std::optional<struct statx> ReaddirLister::directoryStat(int dirFd) const
{
    struct statx self {};
    if (statx(dirFd, "", AT_EMPTY_PATH, STATX_TYPE, &self) != 0)
        return std::nullopt;
    return self;
}

quint64 ReaddirLister::fileTimeFromUnix(qint64 seconds, quint32 nanoseconds)
{
    if (seconds < -kSecondsFrom1601To1970)
        return 0;
    return quint64(seconds + kSecondsFrom1601To1970) * 10000000ULL + nanoseconds / 100;
}

std::optional<QList<DirEntry>> ReaddirLister::list(const QString &nativeDir, bool fatAttributes) const
{
    const int fd = open(QFile::encodeName(nativeDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    DIR *dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return std::nullopt;
    }
    const std::optional<struct statx> self = directoryStat(fd);
    QList<DirEntry> entries;
    while (const dirent *d = readdir(dir)) {
        const char *name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        const auto st = entryStat(fd, name);
        if (!st)
            continue;
        DirEntry entry = makeEntry(name, *st, self);
        if (fatAttributes && !entry.hidden)
            entry.hidden = fatHidden(fd, name);
        entries.append(entry);
    }
    closedir(dir);
    return entries;
}
