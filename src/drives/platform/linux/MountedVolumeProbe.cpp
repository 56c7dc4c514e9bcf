#include "MountedVolumeProbe.h"

#include "drives/platform/formats/UniqueFd.h"

#include <QFile>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>

#ifndef FS_IOC_GETFSUUID
struct fsuuid2 {
    __u8 len;
    __u8 uuid[16];
};
#define FS_IOC_GETFSUUID _IOR(0x15, 0, struct fsuuid2)
#endif

namespace {
// The file system's UUID as hex digits; empty when the kernel gives none (or all zero).
QString fsUuid(int fd)
{
    fsuuid2 u{};
    if (ioctl(fd, FS_IOC_GETFSUUID, &u) != 0 || u.len == 0 || u.len > sizeof(u.uuid))
        return {};
    const QByteArray bytes(reinterpret_cast<const char *>(u.uuid), u.len);
    if (bytes.count('\0') == bytes.size())
        return {};
    return QString::fromLatin1(bytes.toHex());
}

QString fsLabel(int fd)
{
    char label[FSLABEL_MAX + 1] = {};
    if (ioctl(fd, FS_IOC_GETFSLABEL, label) != 0)
        return {};
    label[FSLABEL_MAX] = '\0';
    return QString::fromUtf8(label);
}

// statfs's file-system id; the kernel derives it from the UUID on ext4, xfs and btrfs.
QString fsId(int fd)
{
    struct statfs st {};
    if (fstatfs(fd, &st) != 0)
        return {};
    const quint32 id = quint32(st.f_fsid.__val[0]);
    return id ? QString::number(id, 16).rightJustified(8, u'0') : QString();
}
} // namespace

std::optional<VolumeId> MountedVolumeProbe::probe(const MountEntry &mount)
{
    const UniqueFd fd(open(QFile::encodeName(mount.rootPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0)
        return std::nullopt;
    VolumeId id;
    id.type = mount.fsType;
    id.uuid = fsUuid(fd.get());
    if (id.uuid.isEmpty())
        id.uuid = fsId(fd.get());
    id.label = fsLabel(fd.get());
    return id;
}
