#include "StorageInfoMounts.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <fcntl.h>
#include <sys/stat.h>

#ifndef STATX_ATTR_MOUNT_ROOT
#define STATX_ATTR_MOUNT_ROOT 0x00002000
#endif

QList<MountEntry> StorageInfoMounts::mounts()
{
    QList<MountEntry> result;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        MountEntry entry;
        entry.rootPath = volume.rootPath();
        entry.device = QFile::decodeName(volume.device());
        entry.fsType = QString::fromLatin1(volume.fileSystemType());
        entry.readOnly = volume.isReadOnly();
        entry.isDirectory = QFileInfo(entry.rootPath).isDir();
        result.append(entry);
    }
    return result;
}

bool StorageInfoMounts::isMounted(const MountEntry &mount)
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
