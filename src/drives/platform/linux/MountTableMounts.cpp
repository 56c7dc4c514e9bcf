#include "MountTableMounts.h"

#include "MountInfoTable.h"

#include <QFile>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>

#ifndef STATX_ATTR_MOUNT_ROOT
#define STATX_ATTR_MOUNT_ROOT 0x00002000
#endif

using namespace Qt::StringLiterals;

namespace {

// File systems of the kernel's own that hold no user files.
bool isPseudoFileSystem(const QString &type)
{
    static const QSet<QString> pseudo{u"proc"_s,        u"sysfs"_s,      u"devtmpfs"_s,   u"devpts"_s, u"cgroup"_s,
                                      u"cgroup2"_s,     u"securityfs"_s, u"pstore"_s,     u"bpf"_s,    u"debugfs"_s,
                                      u"tracefs"_s,     u"configfs"_s,   u"fusectl"_s,    u"mqueue"_s, u"hugetlbfs"_s,
                                      u"binfmt_misc"_s, u"autofs"_s,     u"rpc_pipefs"_s, u"nsfs"_s,   u"efivarfs"_s,
                                      u"selinuxfs"_s,   u"rootfs"_s,     u"nfsd"_s,       u"ramfs"_s};
    return pseudo.contains(type);
}

bool isUnder(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + u'/');
}

// The special folders of the system: devices, processes, the kernel, run-time state.
bool isSystemFolder(const QString &mountPoint)
{
    for (const QString &folder : {u"/dev"_s, u"/proc"_s, u"/sys"_s, u"/var/run"_s, u"/var/lock"_s})
        if (isUnder(mountPoint, folder))
            return true;
    return false;
}

} // namespace

MountTableMounts::MountTableMounts(QString mountInfoPath, FileCheck isFile)
    : m_mountInfoPath(std::move(mountInfoPath))
    , m_isFile(std::move(isFile))
{
}

QList<MountEntry> MountTableMounts::mounts()
{
    QList<MountEntry> result;
    const MountInfoTable table = MountInfoTable::read(m_mountInfoPath);
    for (const MountInfoTable::Row &row : table.rows()) {
        MountEntry entry = row.entry;
        if (isSystemFolder(entry.rootPath) || isPseudoFileSystem(entry.fsType))
            continue;
        // A single file can be bind-mounted only from a file system that has files; a
        // local disk answers from the kernel's cache, a network one is never asked.
        if (!row.wholeFileSystem && entry.device.startsWith(u"/dev/"_s))
            entry.isDirectory = !m_isFile(entry.rootPath);
        result.append(entry);
    }
    return result;
}

bool MountTableMounts::cachedIsFile(const QString &mountPoint)
{
    struct statx st {};
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC;
    if (statx(AT_FDCWD, QFile::encodeName(mountPoint).constData(), flags, STATX_TYPE, &st) != 0)
        return false;
    return !S_ISDIR(st.stx_mode);
}

bool MountTableMounts::isMounted(const MountEntry &mount)
{
    const QByteArray path = QFile::encodeName(mount.rootPath);
    struct statx self {};
    if (statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &self) != 0)
        return false;
    if (self.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
        return (self.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    // Older kernels: a mount point lies on another device than its parent.
    struct statx parent {};
    if (statx(AT_FDCWD, (path + "/..").constData(), 0, STATX_BASIC_STATS, &parent) != 0)
        return false;
    return self.stx_dev_major != parent.stx_dev_major || self.stx_dev_minor != parent.stx_dev_minor;
}
