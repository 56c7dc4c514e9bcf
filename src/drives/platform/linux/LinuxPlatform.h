#pragma once

#include "DirectoryLister.h"
#include "DriveControl.h"
#include "LetterMap.h"
#include "MediaEventSource.h"
#include "MountService.h"
#include "MountSource.h"
#include "OpticalDrive.h"
#include "OpticalDriveSource.h"
#include "VolumeProbe.h"
#include "drives/platform/Platform.h"
#include "drives/platform/formats/DiscVolume.h"

#include <map>
#include <memory>
#include <vector>

// The platform of a Linux machine, made of small parts that tests can replace.
class LinuxPlatform : public Platform {
    Q_OBJECT
public:
    struct Parts {
        std::unique_ptr<MountSource> mounts;
        std::unique_ptr<OpticalDriveSource> optical;
        // Asked in this order; the first that knows the volume answers.
        std::vector<std::unique_ptr<VolumeProbe>> probes;
        std::unique_ptr<DirectoryLister> lister;
        // The optical drives' ioctls, and the mounts of their discs.
        std::shared_ptr<DriveControl> control;
        std::shared_ptr<MountService> discMounts;
        // Started once the drives have their letters; none: no media events.
        std::unique_ptr<MediaEventSource> mediaEvents;
        // udev's database, libblkid, the mounted file system; the mount table; readdir +
        // statx; udev's optical drives, the CD-ROM ioctls, the mount table and udisks2,
        // udev's events or polling.
        static Parts system();
    };

    explicit LinuxPlatform(Parts parts, QObject *parent = nullptr);
    ~LinuxPlatform() override;

    QList<char> letters() override;
    QString nativeRoot(char letter) override;
    std::optional<DriveLocation> locate(const QString &nativePath) override;
    std::optional<VolumeInfo> volumeInformation(char letter) override;
    std::optional<VolumeIdentity> volumeIdentity(char letter) override;
    qint32 driveType(char letter) override;
    std::optional<qint64> volumeSize(char letter) override;
    bool openTray(char letter) override;
    bool closeTray(char letter) override;
    std::optional<QList<DirEntry>> listDirectory(char letter, const QString &relativePath) override;
    std::unique_ptr<OpenDirectory> openDirectory(char letter, const QString &relativePath) override;
    std::optional<char> attachImage(const QString &imagePath) override;
    std::unique_ptr<FileSource> fileSource(char letter) override;

    // Turns media changes of optical drives into media events (what the media event
    // source reports).
    void reportMediaChanges(const QList<MediaChange> &changes);

private:
    const LetterMap &map();
    // The machine's optical drives get their letters from d on, once.
    void enumerateOpticalDrives();
    void watchMedia(const QList<OpticalDevice> &devices);
    std::unique_ptr<OpticalDrive> imageDrive(char letter, const QString &imagePath);
    // A virtual drive's tray moved the image: its media event, delivered later from the
    // event loop as a drive's are.
    void reportImageChange(char letter, bool present);
    std::optional<QList<DirEntry>> listOptical(OpticalDrive &drive, const QStringList &components);
    OpticalDrive *optical(char letter);
    char letterOf(const QString &device);
    std::optional<DiscVolume> discVolume(OpticalDrive &drive);
    // The mount that answers for a letter: a file system mounted and answering, or an
    // optical drive's disc that is mounted; nothing otherwise.
    std::optional<MountEntry> mountOf(char letter);
    std::optional<VolumeInfo> mountedVolumeInformation(const MountEntry &mount);
    VolumeId identify(const MountEntry &mount);

    Parts m_parts;
    // The optical drives with letters, real ones first, then images attached before the
    // letter map was made.
    std::optional<QList<OpticalDevice>> m_devices;
    QList<MountEntry> m_opticalEntries;
    std::optional<LetterMap> m_map;
    std::map<char, std::unique_ptr<OpticalDrive>> m_optical;
};
