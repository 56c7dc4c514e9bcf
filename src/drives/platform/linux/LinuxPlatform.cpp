#include "LinuxPlatform.h"

#include "BlkidVolumeProbe.h"
#include "CdromControl.h"
#include "DeviceOpticalDrive.h"
#include "DriveStatusPoller.h"
#include "DrivesLog.h"
#include "FolderFileSource.h"
#include "ImageOpticalDrive.h"
#include "MountTableMounts.h"
#include "MountedVolumeProbe.h"
#include "OpticalMediaWatch.h"
#include "ReaddirLister.h"
#include "SystemMountService.h"
#include "UdevMediaMonitor.h"
#include "UdevOpticalDrives.h"
#include "UdevVolumeProbe.h"
#include "drives/platform/DiscFileSource.h"
#include "drives/platform/SystemPlatform.h"
#include "drives/platform/formats/DiscImage.h"
#include "drives/platform/formats/DriveTypes.h"
#include "drives/platform/formats/FileSectorReader.h"
#include "drives/platform/formats/IsoFileSystem.h"
#include "drives/platform/formats/UdfDescriptors.h"
#include "drives/platform/formats/VolumeDescriptors.h"
#include "drives/platform/formats/VolumeRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// A UDF volume's label and serial by the UDF rule, read from its device where the user
// may open it.
void applyUdfRule(const QString &device, VolumeInfo &info)
{
    const auto reader = FileSectorReader::openImage(device);
    const auto udf = reader ? UdfDescriptors::read(*reader) : std::nullopt;
    if (udf) {
        info.label = udf->info.label;
        info.serial = udf->info.serial;
    }
}

bool isUnder(const QString &path, const QString &root)
{
    return path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

} // namespace

std::unique_ptr<Platform> createSystemPlatform()
{
    return std::make_unique<LinuxPlatform>(LinuxPlatform::Parts::system());
}

LinuxPlatform::Parts LinuxPlatform::Parts::system()
{
    Parts parts;
    parts.mounts = std::make_unique<MountTableMounts>();
    parts.optical = std::make_unique<UdevOpticalDrives>();
    parts.probes.push_back(std::make_unique<UdevVolumeProbe>());
    parts.probes.push_back(std::make_unique<BlkidVolumeProbe>());
    parts.probes.push_back(std::make_unique<MountedVolumeProbe>());
    parts.lister = std::make_unique<ReaddirLister>();
    parts.control = std::make_shared<CdromControl>();
    parts.discMounts = std::make_shared<SystemMountService>();
    parts.mediaEvents = std::make_unique<OpticalMediaWatch>(std::make_unique<UdevMediaMonitor>(),
                                                            std::make_unique<DriveStatusPoller>(parts.control),
                                                            OpticalMediaWatch::Machine{});
    return parts;
}

LinuxPlatform::LinuxPlatform(Parts parts, QObject *parent)
    : Platform(parent)
    , m_parts(std::move(parts))
{
}

LinuxPlatform::~LinuxPlatform() = default;

const LetterMap &LinuxPlatform::map()
{
    if (!m_map) {
        enumerateOpticalDrives();
        m_map = LetterMap::build(m_parts.mounts->mounts(), m_opticalEntries);
        watchMedia(*m_devices);
    }
    return *m_map;
}

void LinuxPlatform::enumerateOpticalDrives()
{
    if (m_devices)
        return;
    const QList<OpticalDevice> devices = m_parts.optical ? m_parts.optical->drives() : QList<OpticalDevice>();
    m_devices.emplace();
    // Letters go from d in this order; the slots are matched to the drives by device.
    // Drives without a letter are not watched either.
    char letter = 'd';
    for (const OpticalDevice &device : devices) {
        if (!m_parts.control || !m_parts.discMounts || letter > 'z')
            break;
        m_devices->append(device);
        auto drive = std::make_unique<DeviceOpticalDrive>(device, m_parts.control, m_parts.discMounts);
        const auto mount = drive->mounted();
        m_opticalEntries.append(MountEntry{mount ? mount->rootPath : QString(), device.node, {}, true, true});
        m_optical[letter++] = std::move(drive);
    }
}

void LinuxPlatform::watchMedia(const QList<OpticalDevice> &devices)
{
    // Notifiers and timers need an event loop; without an application there is none.
    if (!m_parts.mediaEvents || !QCoreApplication::instance())
        return;
    connect(m_parts.mediaEvents.get(), &MediaEventSource::mediaChanged, this, &LinuxPlatform::reportMediaChanges);
    m_parts.mediaEvents->watch(devices);
}

void LinuxPlatform::reportMediaChanges(const QList<MediaChange> &changes)
{
    const auto events = mediaEventsFor(changes, [this](const QString &device) { return letterOf(device); });
    for (const MediaEvent &event : events)
        emit mediaEvent(event);
}

OpticalDrive *LinuxPlatform::optical(char letter)
{
    const DriveSlot *slot = map().slot(letter);
    if (!slot || slot->kind != DriveSlot::Kind::Optical)
        return nullptr;
    const auto found = m_optical.find(slot->letter);
    return found == m_optical.end() ? nullptr : found->second.get();
}

char LinuxPlatform::letterOf(const QString &device)
{
    for (const auto &[letter, drive] : m_optical) {
        if (drive->device() == device)
            return letter;
    }
    return 0;
}

QList<char> LinuxPlatform::letters()
{
    return map().letters();
}

QString LinuxPlatform::nativeRoot(char letter)
{
    if (OpticalDrive *drive = optical(letter)) {
        const auto mount = drive->mounted();
        return mount ? mount->rootPath : QString();
    }
    const DriveSlot *slot = map().slot(letter);
    return slot ? slot->mount.rootPath : QString();
}

std::optional<DriveLocation> LinuxPlatform::locate(const QString &nativePath)
{
    const QString path = QDir::cleanPath(nativePath);
    map();
    for (const auto &[letter, drive] : m_optical) {
        const auto mount = drive->mounted();
        if (mount && isUnder(path, mount->rootPath)) {
            QString relative = path.mid(mount->rootPath.size());
            while (relative.startsWith(u'/'))
                relative.remove(0, 1);
            return DriveLocation{letter, relative};
        }
    }
    return map().locate(path);
}

std::optional<MountEntry> LinuxPlatform::mountOf(char letter)
{
    if (OpticalDrive *drive = optical(letter))
        return drive->mounted();
    const DriveSlot *slot = map().slot(letter);
    if (!slot || (slot->kind == DriveSlot::Kind::Mount && !m_parts.mounts->isMounted(slot->mount)))
        return std::nullopt;
    return slot->mount;
}

std::optional<DiscVolume> LinuxPlatform::discVolume(OpticalDrive &drive)
{
    const auto reader = drive.openMedium();
    return reader ? VolumeDescriptors::read(*reader) : std::nullopt;
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
    OpticalDrive *drive = optical(letter);
    if (drive && !drive->mediumReady())
        return std::nullopt;
    if (drive) {
        if (auto disc = discVolume(*drive))
            return disc->info;
    }
    // A disc with a file system the descriptors do not describe is read where it is mounted.
    const auto mount = mountOf(letter);
    return mount ? mountedVolumeInformation(*mount) : std::nullopt;
}

std::optional<VolumeIdentity> LinuxPlatform::volumeIdentity(char letter)
{
    const auto mount = mountOf(letter);
    if (!mount)
        return std::nullopt;
    const VolumeId id = identify(*mount);
    if (id.uuid.isEmpty())
        return std::nullopt;
    return VolumeIdentity{id.uuid, id.label};
}

std::optional<VolumeInfo> LinuxPlatform::mountedVolumeInformation(const MountEntry &mount)
{
    const auto st = volumeStat(mount.rootPath);
    if (!st)
        return std::nullopt;
    const VolumeId id = identify(mount);
    const QString type = id.type.isEmpty() ? mount.fsType : id.type;
    VolumeInfo info;
    info.label = id.label;
    info.serial = VolumeRules::serial(type, id.uuid);
    const QString name = VolumeRules::fileSystemName(type, id.version);
    // Names Windows does not know are given as the mount table gives them.
    info.fileSystem = name == type && !mount.fsType.isEmpty() ? mount.fsType : name;
    info.maxComponentLength = qint32(st->f_namemax);
    info.flags = VolumeRules::flags(type, mount.readOnly || (st->f_flag & ST_RDONLY));
    if (type.compare(u"udf"_s, Qt::CaseInsensitive) == 0)
        applyUdfRule(mount.device, info);
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
    OpticalDrive *drive = optical(letter);
    if (drive && !drive->mediumReady())
        return std::nullopt;
    if (drive) {
        if (auto disc = discVolume(*drive))
            return disc->size;
    }
    const auto mount = mountOf(letter);
    const auto st = mount ? volumeStat(mount->rootPath) : std::nullopt;
    if (!st)
        return std::nullopt;
    return qint64(st->f_blocks) * qint64(st->f_frsize);
}

bool LinuxPlatform::openTray(char letter)
{
    OpticalDrive *drive = optical(letter);
    return drive && drive->eject(); // only optical drives have a tray
}

bool LinuxPlatform::closeTray(char letter)
{
    OpticalDrive *drive = optical(letter);
    return drive && drive->closeTray();
}

std::optional<QList<DirEntry>> LinuxPlatform::listDirectory(char letter, const QString &relativePath)
{
    const auto parts = Platform::splitRelativePath(relativePath);
    if (!parts)
        return std::nullopt;
    if (OpticalDrive *drive = optical(letter))
        return listOptical(*drive, *parts);
    const std::unique_ptr<OpenDirectory> dir = openDirectory(letter, relativePath);
    if (!dir)
        return std::nullopt;
    return dir->listing().entries;
}

// A mounted file system is walked by descriptors; a disc's own records by their paths.
std::unique_ptr<OpenDirectory> LinuxPlatform::openDirectory(char letter, const QString &relativePath)
{
    const auto parts = Platform::splitRelativePath(relativePath);
    if (!parts)
        return nullptr;
    if (optical(letter))
        return Platform::openDirectory(letter, relativePath);
    const auto mount = mountOf(letter);
    if (!mount)
        return nullptr;
    return m_parts.lister->openBelow(mount->rootPath, *parts, isFat(mount->fsType));
}

std::optional<QList<DirEntry>> LinuxPlatform::listOptical(OpticalDrive &drive, const QStringList &components)
{
    if (!drive.mediumReady())
        return std::nullopt;
    // A disc with ISO 9660 (a UDF bridge disc too) is read from its own directory records,
    // which give the names and dates Windows shows; only one without is mounted.
    const auto reader = drive.openMedium();
    const auto iso = reader ? VolumeDescriptors::readIso9660(*reader) : std::nullopt;
    if (iso)
        return IsoFileSystem(*reader, *iso).list(components);
    const auto mount = drive.mountedView();
    if (!mount)
        return std::nullopt;
    const std::unique_ptr<OpenDirectory> dir = m_parts.lister->openBelow(mount->rootPath, components, false);
    if (!dir)
        return std::nullopt;
    return dir->listing().entries;
}

// The same choice as listOptical's: a disc's own records where it has ISO 9660.
std::unique_ptr<FileSource> LinuxPlatform::fileSource(char letter)
{
    if (OpticalDrive *drive = optical(letter)) {
        if (!drive->mediumReady())
            return nullptr;
        std::shared_ptr<SectorReader> reader = drive->openMedium();
        const auto iso = reader ? VolumeDescriptors::readIso9660(*reader) : std::nullopt;
        if (iso)
            return std::make_unique<DiscFileSource>(std::move(reader), *iso);
        const auto mount = drive->mountedView();
        return mount ? std::make_unique<FolderFileSource>(mount->rootPath) : nullptr;
    }
    const auto mount = mountOf(letter);
    return mount ? std::make_unique<FolderFileSource>(mount->rootPath) : nullptr;
}

std::optional<char> LinuxPlatform::attachImage(const QString &imagePath)
{
    const QString path = QFileInfo(imagePath).absoluteFilePath();
    const DiscImage::Verdict verdict = DiscImage::check(path);
    if (verdict != DiscImage::Verdict::Usable) {
        qCWarning(lcDrives).noquote() << u"%1: not attached as a CD image: %2."_s.arg(path,
                                                                                      DiscImage::describe(verdict));
        return std::nullopt;
    }
    enumerateOpticalDrives();
    char letter = 0;
    if (m_map) {
        letter = m_map->assign(DriveSlot{DriveSlot::Kind::Optical, 0, MountEntry{{}, path, {}, true, true}});
    } else if (m_opticalEntries.size() < 'z' - 'd' + 1) {
        // Before the letter map is made: right after the optical drives and earlier images.
        letter = char('d' + m_opticalEntries.size());
        m_opticalEntries.append(MountEntry{{}, path, {}, true, true});
    }
    if (!letter) {
        qCWarning(lcDrives).noquote() << u"%1: no drive letter is left for the image."_s.arg(path);
        return std::nullopt;
    }
    m_optical[letter] = imageDrive(letter, path);
    return letter;
}

std::unique_ptr<OpticalDrive> LinuxPlatform::imageDrive(char letter, const QString &imagePath)
{
    return std::make_unique<ImageOpticalDrive>(imagePath,
                                               [this, letter](bool present) { reportImageChange(letter, present); });
}

void LinuxPlatform::reportImageChange(char letter, bool present)
{
    const MediaEvent event{present ? MediaEvent::Kind::Arrival : MediaEvent::Kind::RemoveComplete,
                           MediaEvent::DeviceType::Volume, true, MediaEvent::unitBit(letter)};
    QMetaObject::invokeMethod(
        this, [this, event] { emit mediaEvent(event); }, Qt::QueuedConnection);
}
