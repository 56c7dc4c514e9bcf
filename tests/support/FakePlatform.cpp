#include "FakePlatform.h"

#include "drives/platform/linux/ReaddirLister.h"

#include <QDir>

using namespace Qt::StringLiterals;

FakePlatform::FakePlatform() = default;

FakePlatform::Drive &FakePlatform::addDrive(char letter, qint32 type)
{
    const char l = driveLetter(letter);
    Q_ASSERT(l);
    Drive drive;
    drive.root = m_dir.path() + u"/drive-"_s + QChar::fromLatin1(l);
    QDir().mkpath(drive.root);
    drive.type = type;
    const bool cd = type == DriveTypes::CdRom;
    drive.volume = VolumeInfo{u"DRIVE_"_s + QChar::fromLatin1(l).toUpper(), 0x5EED0000u + quint32(l), cd ? 221 : 255,
                              cd ? u"CDFS"_s : u"NTFS"_s,
                              cd ? VolumeFlags::CaseSensitiveSearch | VolumeFlags::ReadOnlyVolume
                                 : VolumeFlags::CaseSensitiveSearch | VolumeFlags::CasePreservedNames |
                                       VolumeFlags::UnicodeOnDisk | VolumeFlags::PersistentAcls};
    drive.openTrayResult = drive.closeTrayResult = cd;
    return m_drives[l] = drive;
}

FakePlatform::Drive &FakePlatform::drive(char letter)
{
    Q_ASSERT(m_drives.contains(driveLetter(letter)));
    return m_drives[driveLetter(letter)];
}

void FakePlatform::removeDrive(char letter)
{
    m_drives.remove(driveLetter(letter));
}

QString FakePlatform::key(char letter, const QString &relativePath)
{
    const auto parts = splitRelativePath(relativePath);
    return QChar::fromLatin1(driveLetter(letter)) + u':' + (parts ? parts->join(u'/') : relativePath);
}

void FakePlatform::setCreationTime(char letter, const QString &relativePath, quint64 fileTime)
{
    m_creationTimes.insert(key(letter, relativePath), fileTime);
}

void FakePlatform::setUnreadable(char letter, const QString &relativeDir)
{
    m_unreadable.insert(key(letter, relativeDir));
}

MediaEvent FakePlatform::arrival(const QList<char> &letters)
{
    MediaEvent event{MediaEvent::Kind::Arrival, MediaEvent::DeviceType::Volume, true, 0};
    for (char letter : letters)
        event.unitMask |= MediaEvent::unitBit(letter);
    return event;
}

MediaEvent FakePlatform::removal(const QList<char> &letters)
{
    MediaEvent event = arrival(letters);
    event.event = MediaEvent::Kind::RemoveComplete;
    return event;
}

const FakePlatform::Drive *FakePlatform::readyDrive(char letter) const
{
    const auto found = m_drives.constFind(driveLetter(letter));
    return found != m_drives.constEnd() && found->ready ? &*found : nullptr;
}

QList<char> FakePlatform::letters()
{
    return m_drives.keys();
}

QString FakePlatform::nativeRoot(char letter)
{
    return m_drives.value(driveLetter(letter)).root;
}

std::optional<DriveLocation> FakePlatform::locate(const QString &nativePath)
{
    const QString path = QDir::cleanPath(nativePath);
    for (auto it = m_drives.cbegin(); it != m_drives.cend(); ++it) {
        if (path == it->root || path.startsWith(it->root + u'/'))
            return DriveLocation{it.key(), path.mid(it->root.size() + 1)};
    }
    return std::nullopt;
}

std::optional<VolumeInfo> FakePlatform::volumeInformation(char letter)
{
    const Drive *d = readyDrive(letter);
    return d ? std::optional(d->volume) : std::nullopt;
}

qint32 FakePlatform::driveType(char letter)
{
    return m_drives.contains(driveLetter(letter)) ? m_drives.value(driveLetter(letter)).type : DriveTypes::NoRootDir;
}

std::optional<qint64> FakePlatform::volumeSize(char letter)
{
    const Drive *d = readyDrive(letter);
    return d ? std::optional(d->size) : std::nullopt;
}

bool FakePlatform::openTray(char letter)
{
    trayCalls.append({letter, true});
    return m_drives.value(driveLetter(letter)).openTrayResult;
}

bool FakePlatform::closeTray(char letter)
{
    trayCalls.append({letter, false});
    return m_drives.value(driveLetter(letter)).closeTrayResult;
}

std::optional<QList<DirEntry>> FakePlatform::listDirectory(char letter, const QString &relativePath)
{
    const Drive *d = readyDrive(letter);
    const auto parts = splitRelativePath(relativePath);
    if (!d || !parts || m_unreadable.contains(key(letter, relativePath)))
        return std::nullopt;
    const QString dir = parts->join(u'/');
    auto entries = ReaddirLister().list(d->root + u'/' + dir, false);
    if (!entries)
        return std::nullopt;
    for (DirEntry &entry : *entries) {
        const QString path = dir.isEmpty() ? entry.name : dir + u'/' + entry.name;
        entry.creationTime = m_creationTimes.value(key(letter, path), entry.creationTime);
    }
    return entries;
}

std::optional<char> FakePlatform::attachImage(const QString &)
{
    return std::nullopt;
}
