// The real libudev code on udev devices faked by umockdev: optical drives found in
// udev's database in ID_PATH order, and ID_CDROM_MEDIA changes turned into media events.
// Runs under umockdev-wrapper.

// umockdev brings in GLib's D-Bus headers, which use Qt's "signals" keyword as a name:
// it comes before any Qt header.
#include <umockdev.h>

#include "OpticalFakes.h"
#include "drives/platform/linux/LinuxPlatform.h"
#include "drives/platform/linux/UdevMediaMonitor.h"
#include "drives/platform/linux/UdevOpticalDrives.h"

#include <QSignalSpy>
#include <QtTest>

#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<MediaChange>)

namespace {
// A umockdev test bed that removes itself.
class Testbed {
public:
    Testbed()
        : m_bed(umockdev_testbed_new())
    {
    }
    ~Testbed() { g_object_unref(m_bed); }
    Testbed(const Testbed &) = delete;
    Testbed &operator=(const Testbed &) = delete;

    // An optical drive srN; its udev properties as the cdrom_id rule sets them.
    QByteArray addDrive(int n, const char *idPath, bool media)
    {
        const QByteArray name = "sr" + QByteArray::number(n), minor = QByteArray::number(n);
        const QByteArray number = "11:" + minor;
        gchar *path = umockdev_testbed_add_device(m_bed, "block", name.constData(), nullptr, "dev", number.constData(),
                                                  nullptr, "MAJOR", "11", "MINOR", minor.constData(), "DEVNAME",
                                                  name.constData(), "DEVTYPE", "disk", "ID_CDROM", "1", "ID_PATH",
                                                  idPath, media ? "ID_CDROM_MEDIA" : nullptr, "1", nullptr);
        const QByteArray syspath(path);
        g_free(path);
        return syspath;
    }
    void addOther(const char *name, const char *number, const char *type)
    {
        g_free(umockdev_testbed_add_device(m_bed, "block", name, nullptr, "dev", number, nullptr, "DEVNAME", name,
                                           "DEVTYPE", type, "ID_CDROM", "1", nullptr));
    }

    // A media change as the kernel and udev's cdrom_id rule report it: DISK_MEDIA_CHANGE
    // with ID_CDROM_MEDIA set, or without it once the disc is gone.
    void mediaChange(const QByteArray &syspath, bool media)
    {
        const QByteArray name = syspath.mid(syspath.lastIndexOf('/') + 1);
        QByteArray properties = "MAJOR=11\nMINOR=" + name.mid(2) + "\nDEVNAME=" + name +
                                "\nDEVTYPE=disk\nID_CDROM=1\nDISK_MEDIA_CHANGE=1\n";
        if (media)
            properties += "ID_CDROM_MEDIA=1\n";
        umockdev_testbed_set_attribute(m_bed, syspath.constData(), "uevent", properties.constData());
        umockdev_testbed_uevent(m_bed, syspath.constData(), "change");
    }
    void uevent(const QByteArray &syspath, const char *action)
    {
        umockdev_testbed_uevent(m_bed, syspath.constData(), action);
    }

private:
    UMockdevTestbed *m_bed;
};

QStringList nodes(const QList<OpticalDevice> &drives)
{
    QStringList result;
    for (const OpticalDevice &drive : drives)
        result.append(drive.node);
    return result;
}

// All changes of the reports, in order: "/dev/sr0+" for an arrival, "/dev/sr0-" a removal.
QStringList changes(const QSignalSpy &spy)
{
    QStringList result;
    for (const auto &report : spy) {
        for (const MediaChange &change : report.at(0).value<QList<MediaChange>>())
            result.append(change.device + (change.present ? u'+' : u'-'));
    }
    return result;
}
} // namespace

class TestUdev : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QList<MediaChange>>();
        QVERIFY2(qEnvironmentVariable("LD_PRELOAD").contains(u"umockdev"_s),
                 "run this test under umockdev-wrapper (ctest does)");
    }

    void drivesInIdPathOrder()
    {
        Testbed bed;
        bed.addDrive(0, "pci-0000:00:1f.2-ata-10", false);
        bed.addDrive(1, "pci-0000:00:1f.2-ata-2", true);
        bed.addDrive(2, "pci-0000:00:14.0-usb-0:2:1.0-scsi-0:0:0:0", false);
        bed.addOther("sdb1", "8:17", "partition"); // not a disk
        const QList<OpticalDevice> drives = UdevOpticalDrives(u"/nonexistent"_s).drives();
        QCOMPARE(nodes(drives), (QStringList{u"/dev/sr1"_s, u"/dev/sr0"_s, u"/dev/sr2"_s})); // 1f.2 before 14.0
        QCOMPARE(drives[0].number, quint64(makedev(11, 1)));
        QCOMPARE(drives[0].sysName, u"sr1"_s);
        QCOMPARE(drives[0].path, u"pci-0000:00:1f.2-ata-2"_s);
    }

    void monitorReportsTransitions()
    {
        Testbed bed;
        const QByteArray sr0 = bed.addDrive(0, "pci-0000:00:1f.2-ata-1", false);
        const QByteArray sr1 = bed.addDrive(1, "pci-0000:00:1f.2-ata-2", true);
        UdevMediaMonitor monitor;
        QSignalSpy spy(&monitor, &MediaEventSource::mediaChanged);
        QVERIFY(monitor.watch(UdevOpticalDrives(u"/nonexistent"_s).drives()));

        bed.mediaChange(sr1, true); // still the disc it had at the start: no change
        bed.mediaChange(sr0, true);
        QTRY_COMPARE(changes(spy), QStringList{u"/dev/sr0+"_s});
        bed.mediaChange(sr0, true); // a second event with the same state
        bed.mediaChange(sr1, false);
        QTRY_COMPARE(changes(spy), (QStringList{u"/dev/sr0+"_s, u"/dev/sr1-"_s}));
        bed.uevent(sr0, "remove"); // the drive itself goes (a USB drive pulled out)
        QTRY_COMPARE(changes(spy).size(), 3);
        QCOMPARE(changes(spy).last(), u"/dev/sr0-"_s);
    }

    void mediaChangesBecomeMediaEvents()
    {
        Testbed bed;
        const QByteArray sr0 = bed.addDrive(0, "pci-0000:00:1f.2-ata-2", false);
        const QByteArray sr1 = bed.addDrive(1, "pci-0000:00:1f.2-ata-1", true);
        const QByteArray sr2 = bed.addDrive(2, "pci-0000:00:1f.2-ata-3", false);
        LinuxPlatform::Parts parts = LinuxPlatform::Parts::system();
        parts.mounts = std::make_unique<ScriptedMounts>();
        parts.optical = std::make_unique<UdevOpticalDrives>(u"/nonexistent"_s);
        parts.control = std::make_shared<FakeDriveControl>();
        parts.discMounts = std::make_shared<FakeMountService>();
        parts.mediaEvents = std::make_unique<UdevMediaMonitor>();
        LinuxPlatform platform(std::move(parts));
        QSignalSpy spy(&platform, &Platform::mediaEvent);
        QCOMPARE(platform.letters(), (QList<char>{'c', 'd', 'e', 'f'})); // d = sr1, e = sr0, f = sr2

        // Discs go into two drives at once: one arrival naming both.
        bed.mediaChange(sr0, true);
        bed.mediaChange(sr2, true);
        QTRY_VERIFY(!spy.isEmpty());
        quint32 arrived = 0;
        for (const auto &args : spy) {
            const auto event = args.at(0).value<MediaEvent>();
            QCOMPARE(event.event, MediaEvent::Kind::Arrival);
            QCOMPARE(event.deviceType, MediaEvent::DeviceType::Volume);
            QVERIFY(event.mediaFlag);
            arrived |= event.unitMask;
        }
        QCOMPARE(spy.size(), 1);
        QCOMPARE(arrived, MediaEvent::unitBit('e') | MediaEvent::unitBit('f'));

        spy.clear();
        bed.mediaChange(sr1, false);
        QTRY_COMPARE(spy.size(), 1);
        const auto removal = spy.at(0).at(0).value<MediaEvent>();
        QCOMPARE(removal.event, MediaEvent::Kind::RemoveComplete);
        QCOMPARE(removal.unitMask, MediaEvent::unitBit('d'));
    }
};

QTEST_GUILESS_MAIN(TestUdev)
#include "tst_udev.moc"
