#include "FakePlatform.h"

#include "drives/platform/linux/FolderFileSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool FakePlatform::writeFile(char letter, const QString &relativePath, const QByteArray &data)
{
    const QString path = drive(letter).root + u'/' + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
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

std::optional<VolumeIdentity> FakePlatform::volumeIdentity(char letter)
{
    const Drive *d = readyDrive(letter);
    return d && !d->uuid.isEmpty() ? std::optional(VolumeIdentity{d->uuid, d->volume.label}) : std::nullopt;
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
    auto entries = m_lister.list(d->root + u'/' + dir, false);
    if (!entries)
        return std::nullopt;
    applyCreationTimes(letter, dir, *entries);
    return entries;
}

void FakePlatform::applyCreationTimes(char letter, const QString &dir, QList<DirEntry> &entries) const
{
    for (DirEntry &entry : entries) {
        const QString path = dir.isEmpty() ? entry.name : dir + u'/' + entry.name;
        entry.creationTime = m_creationTimes.value(key(letter, path), entry.creationTime);
    }
}

// The system's open directory with the fake's answers on top.
class FakePlatform::Directory : public OpenDirectory {
public:
    Directory(const FakePlatform &platform, char letter, QString relative, std::unique_ptr<OpenDirectory> real)
        : m_platform(platform)
        , m_letter(letter)
        , m_relative(std::move(relative))
        , m_real(std::move(real))
        , m_listing(m_real->listing())
    {
        platform.applyCreationTimes(letter, m_relative, m_listing.entries);
    }

    static std::unique_ptr<OpenDirectory> make(const FakePlatform &platform, char letter, const QString &relative,
                                               std::unique_ptr<OpenDirectory> real)
    {
        if (!real || platform.m_unreadable.contains(key(letter, relative)))
            return nullptr;
        return std::make_unique<Directory>(platform, letter, relative, std::move(real));
    }

    const Listing &listing() const override { return m_listing; }

    std::unique_ptr<OpenDirectory> openChild(const DirEntry &entry) override
    {
        return make(m_platform, m_letter, m_relative.isEmpty() ? entry.name : m_relative + u'/' + entry.name,
                    m_real->openChild(entry));
    }

private:
    const FakePlatform &m_platform;
    char m_letter;
    QString m_relative;
    std::unique_ptr<OpenDirectory> m_real;
    Listing m_listing;
};

std::unique_ptr<OpenDirectory> FakePlatform::openDirectory(char letter, const QString &relativePath)
{
    const Drive *d = readyDrive(letter);
    const auto parts = splitRelativePath(relativePath);
    if (!d || !parts)
        return nullptr;
    return Directory::make(*this, driveLetter(letter), parts->join(u'/'), m_lister.openBelow(d->root, *parts, false));
}

std::optional<char> FakePlatform::attachImage(const QString &)
{
    return std::nullopt;
}

std::unique_ptr<FileSource> FakePlatform::fileSource(char letter)
{
    const Drive *d = readyDrive(letter);
    return d ? FaultyFiles::wrap(m_faults, std::make_unique<FolderFileSource>(d->root)) : nullptr;
}
