// The parts of the optical backend on their own: the 2-second status poll, the choice
// between udev's events and polling, drives found in sysfs, the mount table, the disc
// mounts without a bus, and the CD-ROM ioctls on things that are no drive.
#include "IsoImages.h"
#include "OpticalFakes.h"
#include "drives/platform/formats/VolumeDescriptors.h"
#include "drives/platform/linux/CdromControl.h"
#include "drives/platform/linux/DriveStatusPoller.h"
#include "drives/platform/linux/MountInfoTable.h"
#include "drives/platform/linux/OpticalMediaWatch.h"
#include "drives/platform/linux/SysfsOpticalDrives.h"
#include "drives/platform/linux/SystemMountService.h"
#include "drives/platform/linux/UdevOpticalDrives.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<MediaChange>)

namespace {
OpticalDevice sr(int n)
{
    return OpticalDevice{u"/dev/sr"_s + QString::number(n), u"sr"_s + QString::number(n), makedev(11, n), {}};
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QList<MediaChange> changesOf(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).value<QList<MediaChange>>();
}

QStringList nodes(const QList<OpticalDevice> &drives)
{
    QStringList result;
    for (const OpticalDevice &drive : drives)
        result.append(drive.node);
    return result;
}

// A block device of a fake sysfs: its device directory below devices/, the class link.
void addBlock(const QString &sys, const QString &devicePath, const QString &name, const QByteArray &type,
              const QByteArray &number)
{
    const QString dir = sys + u"/devices/"_s + devicePath + u"/block/"_s + name;
    writeFile(dir + u"/dev"_s, number + '\n');
    writeFile(sys + u"/devices/"_s + devicePath + u"/type"_s, type + '\n');
    QDir().mkpath(sys + u"/class/block"_s);
    QFile::link(sys + u"/devices/"_s + devicePath, dir + u"/device"_s);
    QFile::link(dir, sys + u"/class/block/"_s + name);
}
} // namespace

class TestOpticalParts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<QList<MediaChange>>(); }

    void pollerReportsChangesAgainstWhatItSaw()
    {
        auto control = std::make_shared<FakeDriveControl>();
        control->setStatus(u"/dev/sr0"_s, DriveStatus::DiscOk);
        control->setStatus(u"/dev/sr1"_s, DriveStatus::NoDisc);
        DriveStatusPoller poller(control);
        QSignalSpy spy(&poller, &MediaEventSource::mediaChanged);
        QVERIFY(poller.watch({}));
        QVERIFY(!poller.isPolling()); // nothing to ask
        QVERIFY(poller.watch({sr(0), sr(1)}));
        QVERIFY(poller.isPolling());
        QCOMPARE(poller.interval(), 2000);
        QCOMPARE(control->statusQuestions, 2);

        poller.poll();
        QCOMPARE(spy.size(), 0);
        control->setStatus(u"/dev/sr0"_s, DriveStatus::TrayOpen);
        control->setStatus(u"/dev/sr1"_s, DriveStatus::DiscOk);
        poller.poll();
        QCOMPARE(spy.size(), 1); // both drives in one report
        const auto changes = changesOf(spy, 0);
        QCOMPARE(changes.size(), 2);
        QVERIFY(changes[0].device == u"/dev/sr0"_s && !changes[0].present);
        QVERIFY(changes[1].device == u"/dev/sr1"_s && changes[1].present);

        // Spinning up and refused drives have no medium yet.
        control->setStatus(u"/dev/sr0"_s, DriveStatus::NotReady);
        control->setStatus(u"/dev/sr1"_s, DriveStatus::NoInfo, EACCES);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^/dev/sr1: permission denied"_s));
        poller.poll();
        QCOMPARE(spy.size(), 2);
        QCOMPARE(changesOf(spy, 1).size(), 1);
        QVERIFY(!changesOf(spy, 1)[0].present);
        control->setStatus(u"/dev/sr0"_s, DriveStatus::DiscOk);
        poller.poll();
        QCOMPARE(spy.size(), 3);
        QVERIFY(changesOf(spy, 2)[0].present);
        QCOMPARE(changesOf(spy, 2)[0].device, u"/dev/sr0"_s);
    }

    void kernelPollingFromSysfs()
    {
        QTemporaryDir sys;
        const QString root = sys.path();
        QVERIFY(writeFile(root + u"/module/block/parameters/events_dfl_poll_msecs"_s, "2000\n"));
        QVERIFY(writeFile(root + u"/block/sr0/events"_s, "media_change eject_request\n"));
        QVERIFY(writeFile(root + u"/block/sr0/events_poll_msecs"_s, "-1\n"));
        QVERIFY(writeFile(root + u"/block/sr1/events"_s, "media_change eject_request\n"));
        QVERIFY(writeFile(root + u"/block/sr1/events_poll_msecs"_s, "0\n"));
        QVERIFY(writeFile(root + u"/block/sr2/events"_s, "\n")); // reports no events
        QVERIFY(writeFile(root + u"/block/sr2/events_poll_msecs"_s, "2000\n"));
        QVERIFY(writeFile(root + u"/block/sr3/events"_s, "media_change\n"));
        QVERIFY(writeFile(root + u"/block/sr3/events_poll_msecs"_s, "500\n"));
        QVERIFY(OpticalMediaWatch::kernelPolls(root, u"sr0"_s));
        QVERIFY(!OpticalMediaWatch::kernelPolls(root, u"sr1"_s));
        QVERIFY(!OpticalMediaWatch::kernelPolls(root, u"sr2"_s));
        QVERIFY(OpticalMediaWatch::kernelPolls(root, u"sr3"_s));
        QVERIFY(!OpticalMediaWatch::kernelPolls(root, u"sr9"_s));
        QVERIFY(writeFile(root + u"/module/block/parameters/events_dfl_poll_msecs"_s, "0\n"));
        QVERIFY(!OpticalMediaWatch::kernelPolls(root, u"sr0"_s)); // the default is off
        QVERIFY(OpticalMediaWatch::kernelPolls(root, u"sr3"_s));
    }

    void watchChoosesEventsOrPolling()
    {
        QTemporaryDir sys;
        const QString root = sys.path();
        QVERIFY(writeFile(root + u"/block/sr0/events"_s, "media_change\n"));
        QVERIFY(writeFile(root + u"/block/sr0/events_poll_msecs"_s, "2000\n"));
        QVERIFY(writeFile(root + u"/block/sr1/events"_s, "media_change\n"));
        QVERIFY(writeFile(root + u"/block/sr1/events_poll_msecs"_s, "0\n"));
        const QString control = root + u"/udev-control"_s;
        QVERIFY(writeFile(control, {}));

        const auto watch = [&](bool udevCanWatch, QStringList &byEvents, QStringList &byPolling) {
            auto events = std::make_unique<ScriptedMediaSource>();
            auto poller = std::make_unique<ScriptedMediaSource>();
            events->canWatch = udevCanWatch;
            ScriptedMediaSource *e = events.get(), *p = poller.get();
            OpticalMediaWatch w(std::move(events), std::move(poller), {root, control});
            QSignalSpy spy(&w, &MediaEventSource::mediaChanged);
            w.watch({sr(0), sr(1)});
            byEvents = nodes(e->watched);
            byPolling = nodes(p->watched);
            e->change({{u"/dev/sr0"_s, true}});
            p->change({{u"/dev/sr1"_s, true}});
            return spy.size();
        };
        QStringList byEvents, byPolling;
        QCOMPARE(watch(true, byEvents, byPolling), 2); // both sources' reports come through
        QCOMPARE(byEvents, QStringList{u"/dev/sr0"_s});
        QCOMPARE(byPolling, QStringList{u"/dev/sr1"_s});
        watch(false, byEvents, byPolling); // no udev monitor could be made
        QCOMPARE(byPolling, (QStringList{u"/dev/sr1"_s, u"/dev/sr0"_s}));
        QVERIFY(QFile::remove(control)); // udev does not run: its events never come
        watch(true, byEvents, byPolling);
        QVERIFY(byEvents.isEmpty());
        QCOMPARE(byPolling, (QStringList{u"/dev/sr0"_s, u"/dev/sr1"_s}));
    }

    void drivesFoundInSysfs()
    {
        QTemporaryDir sys;
        const QString root = sys.path();
        addBlock(root, u"pci0000:00/0000:00:1f.2/ata10/host9/target9:0:0/9:0:0:0"_s, u"sr0"_s, "5", "11:0");
        addBlock(root, u"pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0"_s, u"sr1"_s, "5", "11:1");
        addBlock(root, u"pci0000:00/0000:00:14.0/usb1/1-2/host6/target6:0:0/6:0:0:0"_s, u"sr2"_s, "5", "11:2");
        addBlock(root, u"pci0000:00/0000:00:1f.2/ata3/host2/target2:0:0/2:0:0:0"_s, u"sr3"_s, "0", "11:3");
        addBlock(root, u"pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0"_s, u"sda"_s, "0", "8:0");
        const QList<OpticalDevice> drives = SysfsOpticalDrives(root).drives();
        QCOMPARE(nodes(drives), (QStringList{u"/dev/sr1"_s, u"/dev/sr0"_s, u"/dev/sr2"_s})); // ata2 before ata10
        QCOMPARE(drives[0].sysName, u"sr1"_s);
        QCOMPARE(drives[0].number, quint64(makedev(11, 1)));
        QVERIFY(drives[0].path.endsWith(u"/block/sr1"_s));
        QVERIFY(SysfsOpticalDrives(root + u"/none"_s).drives().isEmpty());
    }

    void udevWithoutDrivesFallsBackToSysfs()
    {
        if (!UdevOpticalDrives(u"/nonexistent"_s).drives().isEmpty())
            QSKIP("udev knows optical drives on this machine, so it does not fall back to sysfs");
        QTemporaryDir sys;
        addBlock(sys.path(), u"pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0"_s, u"sr0"_s, "5", "11:0");
        QCOMPARE(nodes(UdevOpticalDrives(sys.path()).drives()), QStringList{u"/dev/sr0"_s});
    }

    void sortsByPathWithNumbers()
    {
        QList<OpticalDevice> drives{sr(0), sr(1), sr(2), sr(3), sr(10)};
        drives[0].path = u"pci-0000:00:1f.2-ata-10"_s;
        drives[1].path = u"pci-0000:00:1f.2-ata-2"_s;
        drives[2].path = u"pci-0000:00:1f.2-ata-2.1"_s;
        drives[3].path = u"pci-0000:00:1f.2-ata-02"_s; // same number as ata-2: then by name
        OpticalDriveSource::sortByPath(drives);
        QCOMPARE(nodes(drives),
                 (QStringList{u"/dev/sr10"_s, u"/dev/sr1"_s, u"/dev/sr3"_s, u"/dev/sr2"_s, u"/dev/sr0"_s}));
    }

    void mountTable()
    {
        const MountInfoTable table =
            MountInfoTable::parse("22 1 254:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n"
                                  "35 22 11:0 /sub /mnt/bound rw shared:7 - iso9660 /dev/sr0 ro\n"
                                  "40 22 11:0 / /media/u/My\\040Disc\\134x ro,nosuid master:3 - iso9660 /dev/sr0 ro\n"
                                  "41 22 11:0 / /media/u/again rw - iso9660 /dev/sr0 ro\n"
                                  "broken line\n"
                                  "42 22 11:1 / /x rw shared:9\n"
                                  "43 22 0:52 / /run/user/0 rw,nosuid - tmpfs tmpfs rw\n");
        const auto disc = table.find(makedev(11, 0));
        QVERIFY(disc);
        QCOMPARE(disc->rootPath, u"/media/u/My Disc\\x"_s); // not the bind mount of a folder
        QCOMPARE(disc->device, u"/dev/sr0"_s);
        QCOMPARE(disc->fsType, u"iso9660"_s);
        QVERIFY(disc->readOnly);
        QVERIFY(!table.find(makedev(254, 1))->readOnly);
        QVERIFY(!table.find(makedev(11, 1))); // its line has no file-system part
        QVERIFY(!table.find(0));
        QVERIFY(!MountInfoTable::read(u"/nonexistent"_s).find(makedev(254, 1)));
        // This process's own table holds its root file system, by the number stat gives.
        struct stat rootStat {};
        QCOMPARE(stat("/", &rootStat), 0);
        const auto root = MountInfoTable::read(u"/proc/self/mountinfo"_s).find(rootStat.st_dev);
        QVERIFY(root);
        QCOMPARE(root->rootPath, u"/"_s);
    }

    void discMountsWithoutABus()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"mountinfo"_s), "40 22 11:0 / /media/u/DISC ro - iso9660 /dev/sr0 ro\n"));
        SystemMountService mounts(dir.filePath(u"mountinfo"_s), UdisksClient(QDBusConnection(u"no bus"_s)));
        QCOMPARE(mounts.mountOf(makedev(11, 0))->rootPath, u"/media/u/DISC"_s);
        // Already mounted: found without asking udisks.
        QCOMPARE(mounts.mount(u"/dev/sr0"_s, makedev(11, 0))->rootPath, u"/media/u/DISC"_s);
        QVERIFY(!mounts.mount(u"/dev/sr1"_s, makedev(11, 1)));
        QVERIFY(!mounts.unmount(u"/dev/sr0"_s));
    }

    void cdromRequestsOnThingsThatAreNoDrive()
    {
        CdromControl control;
        QCOMPARE(control.status(u"/nonexistent/sr0"_s).error, ENOENT);
        const DriveStatus null = control.status(u"/dev/null"_s);
        QVERIFY(null.error != 0 && !null.ready());
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"file"_s), "x"));
        QVERIFY(control.eject(dir.filePath(u"file"_s)) != 0);
        QVERIFY(control.closeTray(dir.filePath(u"file"_s)) != 0);
        QCOMPARE(control.eject(u"/nonexistent/sr0"_s), ENOENT);
        QVERIFY(!control.openDisc(u"/nonexistent/sr0"_s));

        // An image file opened the way a drive is: one session, descriptors from sector 16.
        if (!IsoImages::has(u"genisoimage"_s))
            QSKIP(qPrintable(IsoImages::missing(u"genisoimage"_s)));
        IsoImages images;
        const QString image = images.genisoimage(u"a.iso"_s, {u"-V"_s, u"AS_A_DRIVE"_s});
        const auto reader = control.openDisc(image);
        QVERIFY(reader);
        QCOMPARE(reader->sessionStart(), 0u);
        QCOMPARE(VolumeDescriptors::read(*reader)->info.label, u"AS_A_DRIVE"_s);
    }
};

QTEST_GUILESS_MAIN(TestOpticalParts)
#include "tst_opticalparts.moc"
