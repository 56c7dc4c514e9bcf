#include "LinuxPlatform.h"

#include "BlkidVolumeProbe.h"
#include "DriveTypes.h"
#include "MountedVolumeProbe.h"
#include "ReaddirLister.h"
#include "StorageInfoMounts.h"
#include "SystemPlatform.h"
#include "UdevVolumeProbe.h"
#include "VolumeRules.h"

#include <QFile>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {
std::optional<struct statvfs> volumeStat(const QString &root)
{
    struct statvfs st {};
    if (statvfs(QFile::encodeName(root).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

// The removable bit the kernel keeps for a disk (a partition asks its disk).
bool isRemovableDevice(const QString &device)
{
    struct stat st {};
    if (stat(QFile::encodeName(device).constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return false;
    const QString sys = u"/sys/dev/block/%1:%2/"_s.arg(major(st.st_rdev)).arg(minor(st.st_rdev));
    QFile removable(sys + (QFile::exists(sys + u"partition"_s) ? u"../removable"_s : u"removable"_s));
    return removable.open(QIODevice::ReadOnly) && removable.read(1) == "1";
}

bool isFat(const QString &fsType)
{
    return fsType == u"vfat"_s || fsType == u"msdos"_s;
}
} // namespace

std::unique_ptr<Platform> createSystemPlatform()
{
    return std::make_unique<LinuxPlatform>(LinuxPlatform::Parts::system());
}

LinuxPlatform::Parts LinuxPlatform::Parts::system()
{
    Parts parts;
    parts.mounts = std::make_unique<StorageInfoMounts>();
    parts.optical = std::make_unique<OpticalDriveSource>();
    parts.probes.push_back(std::make_unique<UdevVolumeProbe>());
    parts.probes.push_back(std::make_unique<BlkidVolumeProbe>());
    parts.probes.push_back(std::make_unique<MountedVolumeProbe>());
    parts.lister = std::make_unique<ReaddirLister>();
    return parts;
}

LinuxPlatform::LinuxPlatform(Parts parts, QObject *parent)
    : Platform(parent)
    , m_parts(std::move(parts))
{
}

const LetterMap &LinuxPlatform::map()
{
    if (!m_map)
        m_map = LetterMap::build(m_parts.mounts->mounts(), m_parts.optical->drives());
    return *m_map;
}

QList<char> LinuxPlatform::letters()
{
    return map().letters();
}

QString LinuxPlatform::nativeRoot(char letter)
{
    const DriveSlot *slot = map().slot(letter);
    return slot ? slot->mount.rootPath : QString();
}

std::optional<DriveLocation> LinuxPlatform::locate(const QString &nativePath)
{
    return map().locate(nativePath);
}

const DriveSlot *LinuxPlatform::mountedSlot(char letter)
{
    const DriveSlot *slot = map().slot(letter);
    // Optical drives answer through the optical backend; none is known yet.
    if (!slot || slot->kind == DriveSlot::Kind::Optical)
        return nullptr;
    if (slot->kind == DriveSlot::Kind::Mount && !m_parts.mounts->isMounted(slot->mount))
        return nullptr;
    return slot;
}

VolumeId LinuxPlatform::identify(const MountEntry &mount)
{
    for (const auto &probe : m_parts.probes) {
        if (auto id = probe->probe(mount))
            return *id;
    }
    return VolumeId{mount.fsType, {}, {}, {}};
}

std::optional<VolumeInfo> LinuxPlatform::volumeInformation(char letter)
{
    const DriveSlot *slot = mountedSlot(letter);
    const auto st = slot ? volumeStat(slot->mount.rootPath) : std::nullopt;
    if (!st)
        return std::nullopt;
    const VolumeId id = identify(slot->mount);
    const QString type = id.type.isEmpty() ? slot->mount.fsType : id.type;
    VolumeInfo info;
    info.label = id.label;
    info.serial = VolumeRules::serial(type, id.uuid);
    const QString name = VolumeRules::fileSystemName(type, id.version);
    // Names Windows does not know are given as the mount table gives them.
    info.fileSystem = name == type && !slot->mount.fsType.isEmpty() ? slot->mount.fsType : name;
    info.maxComponentLength = qint32(st->f_namemax);
    info.flags = VolumeRules::flags(type, slot->mount.readOnly || (st->f_flag & ST_RDONLY));
    return info;
}

qint32 LinuxPlatform::driveType(char letter)
{
    const DriveSlot *slot = map().slot(letter);
    if (!slot)
        return DriveTypes::NoRootDir;
    switch (slot->kind) {
    case DriveSlot::Kind::Root:
        return DriveTypes::Fixed;
    case DriveSlot::Kind::Optical:
        return DriveTypes::CdRom;
    case DriveSlot::Kind::Mount:
        break;
    }
    return VolumeRules::driveType(slot->mount.fsType, isRemovableDevice(slot->mount.device));
}

std::optional<qint64> LinuxPlatform::volumeSize(char letter)
{
    const DriveSlot *slot = mountedSlot(letter);
    const auto st = slot ? volumeStat(slot->mount.rootPath) : std::nullopt;
    if (!st)
        return std::nullopt;
    return qint64(st->f_blocks) * qint64(st->f_frsize);
}

bool LinuxPlatform::openTray(char)
{
    return false; // only optical drives have a tray
}

bool LinuxPlatform::closeTray(char)
{
    return false;
}

std::optional<QList<DirEntry>> LinuxPlatform::listDirectory(char letter, const QString &relativePath)
{
    const DriveSlot *slot = mountedSlot(letter);
    const auto parts = Platform::splitRelativePath(relativePath);
    if (!slot || !parts)
        return std::nullopt;
    QString dir = slot->mount.rootPath;
    for (const QString &part : *parts)
        dir += (dir.endsWith(u'/') ? u""_s : u"/"_s) + part;
    return m_parts.lister->list(dir, isFat(slot->mount.fsType));
}

std::optional<char> LinuxPlatform::attachImage(const QString &)
{
    return std::nullopt; // virtual optical drives come with the optical backend
}
