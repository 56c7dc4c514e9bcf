#pragma once

// Stand-ins for the parts of the optical backend that need a drive, udev or udisks.
#include "drives/platform/formats/FileSectorReader.h"
#include "drives/platform/linux/DriveControl.h"
#include "drives/platform/linux/MediaEventSource.h"
#include "drives/platform/linux/MountService.h"
#include "drives/platform/linux/MountSource.h"
#include "drives/platform/linux/OpticalDriveSource.h"

#include <QFile>
#include <QHash>
#include <QMap>

#include <cerrno>
#include <fcntl.h>

// Sectors held in memory; sectors not set fail to read.
class MemorySectorReader : public SectorReader {
public:
    QMap<quint32, QByteArray> sectors;
    quint32 start = 0;

    std::optional<QByteArray> readSector(quint32 sector) override
    {
        const auto found = sectors.constFind(sector);
        return found == sectors.constEnd() ? std::nullopt : std::optional<QByteArray>(*found);
    }
    quint32 sessionStart() const override { return start; }
};

// Drives scripted by device node: their state, tray answers and the image file that is
// their disc. Records every tray request.
class FakeDriveControl : public DriveControl {
public:
    struct Drive {
        DriveStatus status{0, DriveStatus::NoDisc};
        QString image; // the disc's sectors
        quint32 sessionStart = 0;
        int ejectError = 0;
        int closeError = 0;
    };
    QHash<QString, Drive> drives;
    QStringList requests; // "eject /dev/sr0", "close /dev/sr0"
    int statusQuestions = 0;

    void insert(const QString &node, const QString &image, quint32 sessionStart = 0)
    {
        drives[node].status = DriveStatus{0, DriveStatus::DiscOk};
        drives[node].image = image;
        drives[node].sessionStart = sessionStart;
    }
    void setStatus(const QString &node, int code, int error = 0) { drives[node].status = DriveStatus{error, code}; }

    std::unique_ptr<SectorReader> openDisc(const QString &device) override
    {
        const QString image = drives.value(device).image;
        const int fd = image.isEmpty() ? -1 : ::open(QFile::encodeName(image).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        return std::make_unique<FileSectorReader>(fd, drives.value(device).sessionStart);
    }

protected:
    DriveStatus queryStatus(const QString &device) override
    {
        ++statusQuestions;
        return drives.contains(device) ? drives[device].status : DriveStatus{ENOENT, DriveStatus::NoInfo};
    }
    int ejectTray(const QString &device) override
    {
        requests.append(QStringLiteral("eject ") + device);
        return drives.contains(device) ? drives[device].ejectError : ENOENT;
    }
    int closeTrayDoor(const QString &device) override
    {
        requests.append(QStringLiteral("close ") + device);
        return drives.contains(device) ? drives[device].closeError : ENOENT;
    }
};

// Mounts by device number, as scripted; records udisks-like requests.
class FakeMountService : public MountService {
public:
    QHash<quint64, MountEntry> mounted;
    // What a mount request makes: device number → mount; absent: the request fails.
    QHash<quint64, MountEntry> mountable;
    bool unmountWorks = true;
    QStringList requests; // "mount /dev/sr0", "unmount /dev/sr0"

    std::optional<MountEntry> mountOf(quint64 number) override
    {
        return mounted.contains(number) ? std::optional<MountEntry>(mounted[number]) : std::nullopt;
    }
    std::optional<MountEntry> mount(const QString &device, quint64 number) override
    {
        if (mounted.contains(number))
            return mounted[number];
        requests.append(QStringLiteral("mount ") + device);
        if (!mountable.contains(number))
            return std::nullopt;
        return mounted[number] = mountable[number];
    }
    bool unmount(const QString &device) override
    {
        requests.append(QStringLiteral("unmount ") + device);
        if (!unmountWorks)
            return false;
        for (auto it = mounted.begin(); it != mounted.end(); ++it) {
            if (it->device == device) {
                mounted.erase(it);
                break;
            }
        }
        return true;
    }
};

class ScriptedOpticalDrives : public OpticalDriveSource {
public:
    QList<OpticalDevice> list;
    QList<OpticalDevice> drives() override { return list; }
};

class ScriptedMounts : public MountSource {
public:
    QList<MountEntry> list;
    QList<MountEntry> mounts() override { return list; }
    bool isMounted(const MountEntry &) override { return true; }
};

// A media event source the test speaks for.
class ScriptedMediaSource : public MediaEventSource {
    Q_OBJECT
public:
    QList<OpticalDevice> watched;
    bool canWatch = true;

    bool watch(const QList<OpticalDevice> &drives) override
    {
        watched += drives;
        return canWatch;
    }
    void change(const QList<MediaChange> &changes) { emit mediaChanged(changes); }
};
