#pragma once

#include "DriveLocation.h"
#include "FileSource.h"
#include "MediaEvent.h"
#include "OpenDirectory.h"
#include "drives/platform/formats/DirEntry.h"
#include "drives/platform/formats/VolumeInfo.h"

#include <QList>
#include <QObject>
#include <QString>
#include <optional>

class PlatformOverride;

// What names a file system wherever it is mounted: its UUID and label as udev or libblkid
// give them (the mounted file system itself where neither knows it).
struct VolumeIdentity {
    QString uuid;
    QString label;
};

// Everything the program asks the operating system about drives. Drives are named by
// letters: every method takes a letter in either case and answers "no such drive" for
// anything that is not a letter of a drive. Used on the GUI thread only.
class Platform : public QObject {
    Q_OBJECT
public:
    // The platform in force: a test's override, else the system's (made on first use,
    // which assigns the drive letters for the whole run).
    static Platform &instance();

    // 'a'..'z' for a letter in either case, 0 for any other character.
    static char driveLetter(char c);
    // The components of a path below a drive's root ('/'-separated; empty and "."
    // components dropped); nothing when a component is "..", which would leave the drive.
    static std::optional<QStringList> splitRelativePath(const QString &relativePath);

    // The letters that name a drive, ascending.
    virtual QList<char> letters() = 0;
    // The native directory of a drive's root; empty when the drive has none (no medium
    // mounted) or there is no such drive.
    virtual QString nativeRoot(char letter) = 0;
    // The drive holding a native path and the path below its root.
    virtual std::optional<DriveLocation> locate(const QString &nativePath) = 0;

    // Nothing when there is no readable volume.
    virtual std::optional<VolumeInfo> volumeInformation(char letter) = 0;
    // Nothing when the drive has no mounted file system or it tells no UUID.
    virtual std::optional<VolumeIdentity> volumeIdentity(char letter) = 0;
    // One of DriveTypes.
    virtual qint32 driveType(char letter) = 0;
    // Total bytes of the volume; nothing when it cannot be asked (no medium).
    virtual std::optional<qint64> volumeSize(char letter) = 0;
    // True when the tray moved; false on every failure.
    virtual bool openTray(char letter) = 0;
    virtual bool closeTray(char letter) = 0;
    // The entries of a directory given below the drive's root; nothing when it cannot
    // be read.
    virtual std::optional<QList<DirEntry>> listDirectory(char letter, const QString &relativePath) = 0;
    // A directory given below the drive's root, opened for a walk; null when it cannot be
    // read. Unless a platform knows better, its sub-directories are listed by their paths.
    virtual std::unique_ptr<OpenDirectory> openDirectory(char letter, const QString &relativePath);
    // Makes an image file a virtual optical drive; its letter, or nothing when the file
    // holds no disc's volume or no letter is left. Images attached before the drives are
    // first asked for follow the optical drives; later ones take the next free letter.
    virtual std::optional<char> attachImage(const QString &imagePath) = 0;
    // The files of a drive, for reading their contents (paths below the drive's root, as
    // listDirectory takes them): a disc with ISO 9660 through its own records, without a
    // mount; every other drive where it is mounted. Null when the drive has no medium.
    virtual std::unique_ptr<FileSource> fileSource(char letter) = 0;

signals:
    // A medium arrived in or left drives. Emitted from the event loop of the GUI thread.
    void mediaEvent(const MediaEvent &event);

protected:
    explicit Platform(QObject *parent = nullptr);

private:
    friend class PlatformOverride;

    static Platform *s_override;
};
