#pragma once

#include "FaultyFiles.h"
#include "drives/platform/Platform.h"
#include "drives/platform/formats/DriveTypes.h"
#include "drives/platform/linux/ReaddirLister.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

// A platform whose drives are temporary directories and whose answers are scripted.
// Letters without a drive answer "no such drive". Put it in force with PlatformOverride.
class FakePlatform : public Platform {
    Q_OBJECT
public:
    // What one drive answers; change the fields at will.
    struct Drive {
        QString root; // a temporary directory, listed for real
        qint32 type = DriveTypes::Fixed;
        bool ready = true; // false: no medium (no volume, no size, no listing)
        VolumeInfo volume; // what a ready drive's volume says
        QString uuid;      // the file system's UUID; empty: it tells none
        qint64 size = qint64(1) << 30;
        bool openTrayResult = false;
        bool closeTrayResult = false;
    };
    struct TrayCall {
        char letter;
        bool open;
    };

    FakePlatform();

    // Adds a drive with a new, empty root directory and answers that fit its type
    // (a CD-ROM drive: CDFS, read-only, a tray that moves); returns the drive to script.
    Drive &addDrive(char letter, qint32 type = DriveTypes::Fixed);
    Drive &drive(char letter);
    void removeDrive(char letter);

    // Writes a file below a drive's root, with the folders it lies in; false when it cannot.
    bool writeFile(char letter, const QString &relativePath, const QByteArray &data);
    // The creation time a listing gives for a file or directory below a drive's root.
    void setCreationTime(char letter, const QString &relativePath, quint64 fileTime);
    // A directory below a drive's root that cannot be listed.
    void setUnreadable(char letter, const QString &relativeDir);

    // The damage of the drives' files: reads of chosen blocks fail or stall (all drives).
    FaultyFiles &faults() { return *m_faults; }

    void emitMediaEvent(const MediaEvent &event) { emit mediaEvent(event); }
    static MediaEvent arrival(const QList<char> &letters);
    static MediaEvent removal(const QList<char> &letters);

    QList<TrayCall> trayCalls;

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
    // The drive's directories opened by the system's descriptors, as on a mounted file
    // system, with the scripted times and unreadable directories.
    std::unique_ptr<OpenDirectory> openDirectory(char letter, const QString &relativePath) override;
    std::optional<char> attachImage(const QString &imagePath) override;
    // The files of a ready drive's directory, with the faults.
    std::unique_ptr<FileSource> fileSource(char letter) override;

private:
    class Directory;
    const Drive *readyDrive(char letter) const;
    void applyCreationTimes(char letter, const QString &dir, QList<DirEntry> &entries) const;
    static QString key(char letter, const QString &relativePath);

    QTemporaryDir m_dir;
    QMap<char, Drive> m_drives;
    QHash<QString, quint64> m_creationTimes;
    QSet<QString> m_unreadable;
    ReaddirLister m_lister;
    std::shared_ptr<FaultyFiles> m_faults = std::make_shared<FaultyFiles>();
};
