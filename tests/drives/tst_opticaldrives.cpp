// Optical drives behind their letters: the letter map with several drives and mounts,
// the disc's label and serial as the drive utilities read them, trays, the mounted view
// of a disc and media events, on scripted drives whose discs are image files.
#include "IsoImages.h"
#include "OpticalFakes.h"
#include "drives/DriveUtilities.h"
#include "drives/platform/PlatformOverride.h"
#include "drives/platform/formats/DriveTypes.h"
#include "drives/platform/formats/UdfDescriptors.h"
#include "drives/platform/linux/LinuxPlatform.h"
#include "drives/platform/linux/SystemMountService.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {
OpticalDevice sr(int n, const QString &path)
{
    return OpticalDevice{u"/dev/sr"_s + QString::number(n), u"sr"_s + QString::number(n), makedev(11, n), path};
}

MountEntry mount(const QString &root, const QString &device, const QString &type = u"ext4"_s)
{
    return MountEntry{root, device, type, false, true};
}

// Three drives d, e, f; the machine's mounts; scripted drive control, disc mounts and
// media events.
struct Rig {
    std::shared_ptr<FakeDriveControl> control = std::make_shared<FakeDriveControl>();
    std::shared_ptr<FakeMountService> discMounts = std::make_shared<FakeMountService>();
    ScriptedMediaSource *events = nullptr;
    std::unique_ptr<LinuxPlatform> platform;

    explicit Rig(const QList<MountEntry> &mounts, std::shared_ptr<MountService> discMountsInstead = nullptr)
    {
        LinuxPlatform::Parts parts = LinuxPlatform::Parts::system();
        auto scripted = std::make_unique<ScriptedMounts>();
        scripted->list = mounts;
        parts.mounts = std::move(scripted);
        auto optical = std::make_unique<ScriptedOpticalDrives>();
        optical->list = {sr(0, u"pci-0000:00:1f.2-ata-1"_s), sr(1, u"pci-0000:00:1f.2-ata-2"_s),
                         sr(2, u"pci-0000:00:14.0-usb-0:2:1.0-scsi-0:0:0:0"_s)};
        parts.optical = std::move(optical);
        parts.control = control;
        parts.discMounts = discMountsInstead ? discMountsInstead : discMounts;
        auto source = std::make_unique<ScriptedMediaSource>();
        events = source.get();
        parts.mediaEvents = std::move(source);
        platform = std::make_unique<LinuxPlatform>(std::move(parts));
    }
};

// An image whose only descriptor is the all-zero primary one of the serial's test vector.
QString testVectorImage(const QTemporaryDir &dir)
{
    QByteArray disc(16 * 2048, '\0');
    QByteArray primary(2048, '\0');
    primary.replace(0, 7, QByteArray::fromHex("01434430303101"));
    QByteArray terminator(2048, '\0');
    terminator.replace(0, 7, QByteArray::fromHex("ff434430303101"));
    QFile file(dir.filePath(u"vector.iso"_s));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(disc + primary + terminator);
    return file.fileName();
}

// An image with a UDF recognition sequence and no ISO 9660 descriptor (this machine has no
// udf driver, so such a disc is listed through a scripted mount).
QString udfOnlyImage(const QTemporaryDir &dir)
{
    QByteArray disc(16 * 2048, '\0');
    for (const char *id : {"BEA01", "NSR03", "TEA01"}) {
        QByteArray sector(2048, '\0');
        sector.replace(1, 5, id);
        sector[6] = 1;
        disc += sector;
    }
    QFile file(dir.filePath(u"udf.iso"_s));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(disc);
    return file.fileName();
}

QStringList names(const std::optional<QList<DirEntry>> &entries)
{
    QStringList result;
    for (const DirEntry &entry : entries.value_or(QList<DirEntry>{}))
        result.append(entry.name);
    result.sort();
    return result;
}
} // namespace

class TestOpticalDrives : public QObject {
    Q_OBJECT

private slots:
    void lettersOfSeveralDrivesAndMounts()
    {
        // The disc in e is mounted (the mount table says so by device number); the
        // machine's mount list shows it too, but it is the drive's letter that stands for it.
        QTemporaryDir dir;
        QFile table(dir.filePath(u"mountinfo"_s));
        QVERIFY(table.open(QIODevice::WriteOnly));
        table.write("22 1 254:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n"
                    "40 22 11:1 / /media/u/My\\040Disc ro,nosuid,nodev shared:5 - iso9660 /dev/sr1 ro\n"
                    "41 22 8:17 / /media/u/STICK rw shared:6 - vfat /dev/sdb1 rw\n");
        table.close();
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s), mount(u"/media/u/STICK"_s, u"/dev/sdb1"_s, u"vfat"_s),
                 mount(u"/media/u/My Disc"_s, u"/dev/sr1"_s, u"iso9660"_s), mount(u"/home"_s, u"/dev/vda2"_s)},
                std::make_shared<SystemMountService>(table.fileName(), UdisksClient(QDBusConnection(u"none"_s))));
        LinuxPlatform &p = *rig.platform;
        QCOMPARE(p.letters(), (QList<char>{'c', 'd', 'e', 'f', 'g', 'h'}));
        for (char letter : {'d', 'e', 'f'})
            QCOMPARE(p.driveType(letter), DriveTypes::CdRom);
        QCOMPARE(p.nativeRoot('g'), u"/home"_s);
        QCOMPARE(p.nativeRoot('h'), u"/media/u/STICK"_s);
        QCOMPARE(p.nativeRoot('e'), u"/media/u/My Disc"_s);
        QCOMPARE(p.nativeRoot('d'), QString());
        const auto location = p.locate(u"/media/u/My Disc/music/a.mp3"_s);
        QVERIFY(location);
        QCOMPARE(location->letter, 'e');
        QCOMPARE(location->relativePath, u"music/a.mp3"_s);
        QCOMPARE(p.locate(u"/media/u/My Discs"_s)->letter, 'c');
        QCOMPARE(p.driveType('i'), DriveTypes::NoRootDir);
    }

    void discLabelAndSerialAsWindowsShowsThem()
    {
        if (!IsoImages::has(u"genisoimage"_s))
            QSKIP(qPrintable(IsoImages::missing(u"genisoimage"_s)));
        IsoImages images;
        const QString joliet = images.genisoimage(u"j.iso"_s, {u"-J"_s, u"-V"_s, u"我的光盘"_s});
        QVERIFY(!joliet.isEmpty());
        QTemporaryDir dir;
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s)});
        rig.control->insert(u"/dev/sr0"_s, joliet);
        rig.control->insert(u"/dev/sr2"_s, testVectorImage(dir));
        PlatformOverride inForce(*rig.platform);

        RDriveInfo info;
        GetDriveInfo('d', info);
        QCOMPARE(info.DiskLabel, u"我的光盘"_s);
        QCOMPARE(info.FileSystem, u"CDFS"_s);
        QCOMPARE(info.DriveType, DriveTypes::CdRom);
        QCOMPARE(info.ComponentLen, 110);
        QCOMPARE(info.DriveFlags,
                 VolumeFlags::CaseSensitiveSearch | VolumeFlags::UnicodeOnDisk | VolumeFlags::ReadOnlyVolume);
        QCOMPARE(info.DiskSerial.size(), 8);
        QVERIFY(IsDriveReady('D'));

        GetDriveInfo('f', info);
        QCOMPARE(info.DiskSerial, u"31744530"_s);
        QCOMPARE(info.DiskLabel, QString());
        QCOMPARE(info.ComponentLen, 221);

        // An empty drive, a tray standing open, a disc still spinning up.
        for (int code : {int(DriveStatus::NoDisc), int(DriveStatus::TrayOpen), int(DriveStatus::NotReady)}) {
            rig.control->setStatus(u"/dev/sr0"_s, code);
            GetDriveInfo('d', info);
            QCOMPARE(info.DriveType, DriveTypes::CdRom);
            QCOMPARE(info.DiskSerial, u"00000000"_s);
            QCOMPARE(info.DiskLabel, QString());
            QCOMPARE(info.FileSystem, QString());
            QCOMPARE(info.ComponentLen, 0);
            QCOMPARE(info.DriveFlags, 0u);
            QVERIFY(!IsDriveReady('d'));
        }
    }

    void accessDeniedCountsAsEmptyAndIsLoggedOnce()
    {
        QTemporaryDir dir;
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s)});
        rig.control->insert(u"/dev/sr1"_s, testVectorImage(dir));
        rig.control->setStatus(u"/dev/sr1"_s, DriveStatus::NoInfo, EACCES);
        rig.discMounts->mounted[makedev(11, 1)] = mount(dir.path(), u"/dev/sr1"_s, u"iso9660"_s);
        PlatformOverride inForce(*rig.platform);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^/dev/sr1: permission denied"_s));
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        RDriveInfo info;
        for (int i = 0; i < 3; ++i) {
            GetDriveInfo('e', info);
            QCOMPARE(info.DiskSerial, u"00000000"_s);
            QVERIFY(!IsDriveReady('e'));
        }
        QVERIFY(!rig.platform->volumeInformation('e'));
    }

    void trays()
    {
        QTemporaryDir dir;
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s), mount(u"/home"_s, u"/dev/vda2"_s)});
        for (const QString &node : {u"/dev/sr0"_s, u"/dev/sr1"_s, u"/dev/sr2"_s})
            rig.control->insert(node, testVectorImage(dir));
        rig.discMounts->mounted[makedev(11, 1)] = mount(dir.path(), u"/dev/sr1"_s, u"iso9660"_s);
        PlatformOverride inForce(*rig.platform);

        QVERIFY(OpenCdDoor(u"D:"_s));
        QCOMPARE(rig.control->requests, QStringList{u"eject /dev/sr0"_s});
        QVERIFY(rig.discMounts->requests.isEmpty()); // nothing mounted: nothing to unmount

        // A mounted disc is unmounted first; if it stays mounted the tray stays shut.
        rig.discMounts->unmountWorks = false;
        rig.control->requests.clear();
        QVERIFY(!OpenCdDoor(u"E:"_s));
        QCOMPARE(rig.discMounts->requests, QStringList{u"unmount /dev/sr1"_s});
        QVERIFY(rig.control->requests.isEmpty());
        rig.discMounts->unmountWorks = true;
        QVERIFY(OpenCdDoor(u"E:"_s));
        QCOMPARE(rig.control->requests, QStringList{u"eject /dev/sr1"_s});
        QVERIFY(!rig.discMounts->mountOf(makedev(11, 1)));

        rig.control->drives[u"/dev/sr2"_s].ejectError = EBUSY; // held open by another program
        QVERIFY(!OpenCdDoor(u"F:"_s));
        rig.control->drives[u"/dev/sr2"_s].closeError = ENOSYS; // a slot-loading drive
        QVERIFY(!CloseCdDoor(u"F:"_s));
        QVERIFY(CloseCdDoor(u"D:"_s));
        QCOMPARE(rig.control->requests.last(), u"close /dev/sr0"_s);

        rig.control->requests.clear();
        QVERIFY(!OpenCdDoor(u"C:"_s));
        QVERIFY(!CloseCdDoor(u"G:"_s));
        QVERIFY(!OpenCdDoor(u"Q:"_s));
        QVERIFY(rig.control->requests.isEmpty());
    }

    void udfOnlyDiscIsListedThroughItsMount()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"disc/music"_s));
        QFile(dir.filePath(u"disc/music/a.mp3"_s)).open(QIODevice::WriteOnly);
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s)});
        rig.control->insert(u"/dev/sr0"_s, udfOnlyImage(dir));
        rig.discMounts->mountable[makedev(11, 0)] = mount(dir.filePath(u"disc"_s), u"/dev/sr0"_s, u"udf"_s);
        LinuxPlatform &p = *rig.platform;

        QCOMPARE(p.nativeRoot('d'), QString()); // not mounted yet
        QCOMPARE(names(p.listDirectory('d', QString())), QStringList{u"music"_s});
        QCOMPARE(rig.discMounts->requests, QStringList{u"mount /dev/sr0"_s});
        QCOMPARE(names(p.listDirectory('d', u"music"_s)), QStringList{u"a.mp3"_s});
        QCOMPARE(rig.discMounts->requests.size(), 1); // mounted once, then found
        QCOMPARE(p.nativeRoot('d'), dir.filePath(u"disc"_s));
        QVERIFY(!p.listDirectory('d', u"../.."_s));

        // No disc: nothing to list and nothing asked of udisks. A mount that fails: nothing.
        QVERIFY(!p.listDirectory('e', QString()));
        rig.control->insert(u"/dev/sr1"_s, udfOnlyImage(dir));
        QVERIFY(!p.listDirectory('e', QString()));
        QCOMPARE(rig.discMounts->requests.last(), u"mount /dev/sr1"_s);
    }

    void isoDiscIsListedFromItsRecordsWithoutMounting()
    {
        if (!IsoImages::has(u"genisoimage"_s))
            QSKIP(qPrintable(IsoImages::missing(u"genisoimage"_s)));
        IsoImages images;
        // A UDF bridge disc has ISO 9660 as well: its records are read too.
        const QString joliet = images.genisoimage(u"j.iso"_s, {u"-J"_s});
        const QString bridge = images.genisoimage(u"u.iso"_s, {u"-J"_s, u"-udf"_s});
        QVERIFY(!joliet.isEmpty() && !bridge.isEmpty());
        QTemporaryDir dir;
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s)});
        rig.control->insert(u"/dev/sr0"_s, joliet);
        rig.control->insert(u"/dev/sr1"_s, bridge);
        for (const quint64 n : {0, 1})
            rig.discMounts->mountable[makedev(11, n)] = mount(dir.path(), u"/dev/sr0"_s, u"udf"_s);
        LinuxPlatform &p = *rig.platform;
        for (char letter : {'d', 'e'}) {
            QCOMPARE(names(p.listDirectory(letter, QString())),
                     (QStringList{u"boot.img"_s, u"music"_s, u"readme.txt"_s}));
            QCOMPARE(names(p.listDirectory(letter, u"/music/"_s)), QStringList{u"a.mp3"_s});
        }
        QVERIFY(rig.discMounts->requests.isEmpty());
        QCOMPARE(p.nativeRoot('d'), QString());
        rig.control->setStatus(u"/dev/sr0"_s, DriveStatus::TrayOpen);
        QVERIFY(!p.listDirectory('d', QString()));
    }

    void discOfAnotherFileSystemIsReadWhereMounted()
    {
        QTemporaryDir dir;
        QFile blank(dir.filePath(u"blank.img"_s));
        QVERIFY(blank.open(QIODevice::WriteOnly) && blank.resize(64 * 2048));
        blank.close();
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s)});
        rig.control->insert(u"/dev/sr0"_s, blank.fileName());
        PlatformOverride inForce(*rig.platform);
        QVERIFY(!IsDriveReady('d')); // no file system the descriptors or a mount show

        rig.discMounts->mounted[makedev(11, 0)] = mount(dir.path(), u"/dev/sr0"_s, u"ext2"_s);
        RDriveInfo info;
        GetDriveInfo('d', info);
        QCOMPARE(info.FileSystem, u"ext2"_s);
        QVERIFY(IsDriveReady('d'));
    }

    void udfVolumeOnAnotherDeviceGetsTheUdfRule()
    {
        if (!IsoImages::has(u"genisoimage"_s))
            QSKIP(qPrintable(IsoImages::missing(u"genisoimage"_s)));
        IsoImages images;
        const QString image = images.genisoimage(u"u.iso"_s, {u"-udf"_s, u"-V"_s, u"STICK_UDF"_s});
        QVERIFY(!image.isEmpty());
        QTemporaryDir mountPoint;
        // A UDF file system mounted from a device that is no optical drive (here its image).
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s), mount(mountPoint.path(), image, u"udf"_s)});
        PlatformOverride inForce(*rig.platform);
        const auto reader = FileSectorReader::openImage(image);
        const auto udf = UdfDescriptors::read(*reader);
        QVERIFY(udf);
        RDriveInfo info;
        GetDriveInfo('g', info);
        QCOMPARE(info.DiskLabel, u"STICK_UDF"_s);
        QCOMPARE(info.DiskSerial, QString::number(udf->info.serial, 16).toUpper().rightJustified(8, u'0'));
        QCOMPARE(info.FileSystem, u"UDF"_s);
    }

    void mediaEventsNameTheLetters()
    {
        Rig rig({mount(u"/"_s, u"/dev/vda1"_s)});
        LinuxPlatform &p = *rig.platform;
        QVERIFY(rig.events->watched.isEmpty()); // nothing watched before the letters are given
        QSignalSpy spy(&p, &Platform::mediaEvent);
        p.letters();
        QCOMPARE(rig.events->watched.size(), 3);
        QCOMPARE(rig.events->watched[2].node, u"/dev/sr2"_s);

        rig.events->change({{u"/dev/sr0"_s, true}, {u"/dev/sr2"_s, true}});
        QCOMPARE(spy.size(), 1);
        auto event = spy.takeFirst().at(0).value<MediaEvent>();
        QCOMPARE(event.event, MediaEvent::Kind::Arrival);
        QCOMPARE(event.deviceType, MediaEvent::DeviceType::Volume);
        QVERIFY(event.mediaFlag);
        QCOMPARE(event.unitMask, MediaEvent::unitBit('d') | MediaEvent::unitBit('f'));

        rig.events->change({{u"/dev/sr0"_s, true}, {u"/dev/sr1"_s, false}});
        QCOMPARE(spy.size(), 2);
        event = spy.takeFirst().at(0).value<MediaEvent>();
        QCOMPARE(event.event, MediaEvent::Kind::RemoveComplete);
        QCOMPARE(event.unitMask, MediaEvent::unitBit('e'));
        QCOMPARE(spy.takeFirst().at(0).value<MediaEvent>().unitMask, MediaEvent::unitBit('d'));

        rig.events->change({{u"/dev/sr9"_s, true}});
        QCOMPARE(spy.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestOpticalDrives)
#include "tst_opticaldrives.moc"
