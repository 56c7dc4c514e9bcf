#include "ReaddirLister.h"

#include "drives/platform/formats/NameBytes.h"
#include "drives/platform/formats/UniqueFd.h"

#include <QFile>

#include <cerrno>
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

// What a directory entry is, following a symbolic link only to a file; denied when the
// system refused to say (no permission, a failing device), not when it is gone.
struct Examined {
    std::optional<struct statx> st;
    bool denied = false;
};

bool deniedError(int error)
{
    return error != ENOENT && error != ENOTDIR && error != ELOOP && error != ENAMETOOLONG;
}

Examined examine(int dirFd, const char *name)
{
    struct statx st {};
    if (statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kStatxWanted, &st) != 0)
        return {std::nullopt, deniedError(errno)};
    if (!S_ISLNK(st.stx_mode))
        return {st};
    if (statx(dirFd, name, AT_NO_AUTOMOUNT, kStatxWanted, &st) != 0)
        return {std::nullopt, errno == EACCES || errno == EPERM};
    if (S_ISDIR(st.stx_mode))
        return {};
    return {st};
}

// dir: the listed directory's own answer; without one no entry can be told to lie on
// another device, and none is.
DirEntry makeEntry(const char *name, const struct statx &st, const std::optional<struct statx> &dir)
{
    DirEntry entry;
    entry.name = NameBytes::decode(name);
    entry.nativeName = QByteArray(name);
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

namespace {

// An open directory of a mounted file system: its descriptor, from which its
// sub-directories are opened.
class DescriptorDirectory : public OpenDirectory {
public:
    DescriptorDirectory(const ReaddirLister &lister, int fd, bool fatAttributes, Listing listing)
        : m_lister(lister)
        , m_fd(fd)
        , m_fatAttributes(fatAttributes)
        , m_listing(std::move(listing))
    {
    }

    const Listing &listing() const override { return m_listing; }

    std::unique_ptr<OpenDirectory> openChild(const DirEntry &entry) override
    {
        if (!entry.isDir || entry.nativeName.isEmpty())
            return nullptr;
        return openDescriptor(m_lister,
                              openat(m_fd.get(), entry.nativeName.constData(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC),
                              m_fatAttributes);
    }

    static std::unique_ptr<OpenDirectory> openDescriptor(const ReaddirLister &lister, int fd, bool fatAttributes)
    {
        UniqueFd owned(fd);
        std::optional<Listing> listing = owned.valid() ? lister.listOpen(fd, fatAttributes) : std::nullopt;
        if (!listing)
            return nullptr;
        return std::make_unique<DescriptorDirectory>(lister, owned.release(), fatAttributes, std::move(*listing));
    }

private:
    const ReaddirLister &m_lister;
    UniqueFd m_fd;
    bool m_fatAttributes;
    Listing m_listing;
};

} // namespace

std::unique_ptr<OpenDirectory> ReaddirLister::open(const QString &nativeDir, bool fatAttributes) const
{
    return DescriptorDirectory::openDescriptor(
        *this, ::open(QFile::encodeName(nativeDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), fatAttributes);
}

std::optional<OpenDirectory::Listing> ReaddirLister::listOpen(int dirFd, bool fatAttributes) const
{
    // readdir takes a descriptor of its own: this one stays open for the children.
    const int fd = dup(dirFd);
    DIR *dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            close(fd);
        return std::nullopt;
    }
    OpenDirectory::Listing listing;
    // The duplicate shares the position of the original: start from the first entry.
    rewinddir(dir);
    const std::optional<struct statx> self = directoryStat(dirFd);
    while (const dirent *d = readdir(dir)) {
        const char *name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        const Examined examined = examine(dirFd, name);
        if (!examined.st) {
            if (examined.denied)
                ++(d->d_type == DT_DIR ? listing.unreadableFolders : listing.unreadableFiles);
            continue;
        }
        DirEntry entry = makeEntry(name, *examined.st, self);
        if (fatAttributes && !entry.hidden)
            entry.hidden = fatHidden(dirFd, name);
        listing.entries.append(entry);
    }
    closedir(dir);
    return listing;
}
