#include "VolumeRules.h"

#include "DriveTypes.h"
#include "VolumeInfo.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {
enum class Family { Fat, Ntfs, Other };

Family family(const QString &type)
{
    static const QSet<QString> fat{u"vfat"_s, u"msdos"_s, u"fat"_s, u"exfat"_s};
    static const QSet<QString> ntfs{u"ntfs"_s, u"ntfs3"_s, u"ntfs-3g"_s};
    const QString t = type.toLower();
    if (fat.contains(t))
        return Family::Fat;
    return ntfs.contains(t) ? Family::Ntfs : Family::Other;
}

bool isHex(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QString hexDigits(const QString &uuid)
{
    QString digits;
    for (const QChar c : uuid) {
        if (c == u'-' || c == u' ')
            continue;
        if (!isHex(c.unicode()))
            return {};
        digits.append(c);
    }
    return digits;
}
} // namespace

namespace VolumeRules {

quint32 serial(const QString &type, const QString &uuid)
{
    const QString digits = hexDigits(uuid);
    if (digits.isEmpty())
        return 0;
    const QString part = family(type) == Family::Ntfs ? digits.right(8) : digits.left(8);
    return part.toUInt(nullptr, 16);
}

QString fileSystemName(const QString &type, const QString &version)
{
    const QString t = type.toLower();
    if (t == u"exfat"_s)
        return u"exFAT"_s;
    if (family(t) == Family::Fat)
        return version.compare(u"FAT32"_s, Qt::CaseInsensitive) == 0 ? u"FAT32"_s : u"FAT"_s;
    if (family(t) == Family::Ntfs)
        return u"NTFS"_s;
    if (t == u"udf"_s)
        return u"UDF"_s;
    if (t == u"iso9660"_s)
        return u"CDFS"_s;
    return type;
}

quint32 flags(const QString &type, bool readOnly)
{
    using namespace VolumeFlags;
    const QString t = type.toLower();
    quint32 result = CaseSensitiveSearch | CasePreservedNames | UnicodeOnDisk;
    if (family(t) == Family::Fat)
        result = CasePreservedNames | UnicodeOnDisk;
    else if (family(t) == Family::Ntfs)
        result |= PersistentAcls;
    else if (t == u"iso9660"_s || t == u"udf"_s)
        readOnly = true;
    return readOnly ? result | ReadOnlyVolume : result;
}

qint32 driveType(const QString &fsType, bool removableDevice)
{
    static const QSet<QString> remote{u"nfs"_s,         u"nfs4"_s,        u"cifs"_s,          u"smb3"_s,
                                      u"smbfs"_s,       u"ncpfs"_s,       u"afs"_s,           u"ceph"_s,
                                      u"9p"_s,          u"glusterfs"_s,   u"davfs"_s,         u"fuse.sshfs"_s,
                                      u"fuse.rclone"_s, u"fuse.davfs2"_s, u"fuse.glusterfs"_s};
    const QString t = fsType.toLower();
    if (remote.contains(t))
        return DriveTypes::Remote;
    if (t == u"tmpfs"_s || t == u"ramfs"_s)
        return DriveTypes::RamDisk;
    return removableDevice ? DriveTypes::Removable : DriveTypes::Fixed;
}

QString decodeUdevText(const char *encoded)
{
    if (!encoded)
        return {};
    QByteArray bytes;
    for (const char *p = encoded; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'x' && isHex(uchar(p[2])) && isHex(uchar(p[3]))) {
            bytes.append(char(QByteArray(p + 2, 2).toUInt(nullptr, 16)));
            p += 3;
        } else {
            bytes.append(*p);
        }
    }
    return QString::fromUtf8(bytes);
}

} // namespace VolumeRules
