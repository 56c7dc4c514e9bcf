#pragma once

#include "DirectoryLister.h"
#include "LetterMap.h"
#include "MountSource.h"
#include "OpticalDriveSource.h"
#include "Platform.h"
#include "VolumeProbe.h"

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
        // udev's database, libblkid, the mounted file system; QStorageInfo; readdir + statx.
        static Parts system();
    };

    explicit LinuxPlatform(Parts parts, QObject *parent = nullptr);

    QList<char> letters() override;
    QString nativeRoot(char letter) override;
    std::optional<DriveLocation> locate(const QString &nativePath) override;
    std::optional<VolumeInfo> volumeInformation(char letter) override;
    qint32 driveType(char letter) override;
    std::optional<qint64> volumeSize(char letter) override;
    bool openTray(char letter) override;
    bool closeTray(char letter) override;
    std::optional<QList<DirEntry>> listDirectory(char letter, const QString &relativePath) override;
    std::optional<char> attachImage(const QString &imagePath) override;

private:
    const LetterMap &map();
    // The slot of a letter whose file system is mounted and answers; null otherwise.
    const DriveSlot *mountedSlot(char letter);
    VolumeId identify(const MountEntry &mount);

    Parts m_parts;
    std::optional<LetterMap> m_map;
};
