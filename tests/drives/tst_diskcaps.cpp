// The media watcher TDiskCaps and the CD-ROM drive enumerator TCrCdA.
#include "FakePlatform.h"
#include "drives/CrCdA.h"
#include "drives/DiskCaps.h"
#include "drives/platform/PlatformOverride.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestDiskCaps : public QObject {
    Q_OBJECT

    QTimer *timer(TDiskCaps &caps) { return caps.findChild<QTimer *>(u"CheckTimer"_s); }

    // One tick of the poll, as the timer gives it.
    void tick(TDiskCaps &caps)
    {
        QTimer *t = timer(caps);
        QVERIFY(t);
        QVERIFY(QMetaObject::invokeMethod(t, "timeout"));
    }

    // A component polling CD-ROM drive e, which holds a disc with serial 0xCAFE0001.
    void startPolling(TDiskCaps &caps)
    {
        m_platform->addDrive('e', DriveTypes::CdRom).volume.serial = 0xCAFE0001;
        caps.setDrive('e');
        caps.setCheckSNChange(true);
        QVERIFY(caps.CheckSNChange());
        QVERIFY(timer(caps) && timer(caps)->isActive());
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_override.emplace(*m_platform);
    }
    void cleanup()
    {
        m_override.reset();
        m_platform.reset();
    }

    void newComponentReadsDriveC()
    {
        m_platform->addDrive('c').volume = VolumeInfo{u"系统"_s, 0x12AB, 255, u"ext4"_s, 7};
        TDiskCaps caps;
        QCOMPARE(caps.Drive(), 'C');
        QCOMPARE(caps.DiskLabel(), u"系统"_s);
        QCOMPARE(caps.DiskSerial(), u"000012AB"_s);
        QCOMPARE(caps.FileSystem(), u"ext4"_s);
        QCOMPARE(caps.ComponentLen(), 255);
        QCOMPARE(caps.DriveType(), DriveTypes::Fixed);
        QCOMPARE(caps.DriveFlags(), 7u);
        QCOMPARE(caps.CheckSNChange(), false);
        QCOMPARE(caps.CheckPeriod(), 2000);
        QVERIFY(!timer(caps));
        QCOMPARE(caps.property("Drive").value<char>(), 'C');
    }

    void settingDriveRereadsAndSignals()
    {
        TDiskCaps caps;
        QCOMPARE(caps.DriveType(), DriveTypes::NoRootDir);
        QSignalSpy changed(&caps, &TDiskCaps::OnDriveChanged);
        caps.setDrive('C');
        QCOMPARE(changed.size(), 0);
        m_platform->addDrive('c').volume.label = u"NEW"_s;
        caps.setDrive('c');
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].value<QObject *>(), &caps);
        QCOMPARE(caps.DiskLabel(), u"NEW"_s);
        QCOMPARE(caps.Drive(), 'c');
    }

    void writtenReadingsLastUntilTheNextReading()
    {
        m_platform->addDrive('c').volume.label = u"REAL"_s;
        TDiskCaps caps;
        caps.setDiskLabel(u"written"_s);
        caps.setDiskSerial(u"FFFFFFFF"_s);
        QCOMPARE(caps.DiskLabel(), u"written"_s);
        caps.setDrive('c');
        QCOMPARE(caps.DiskLabel(), u"REAL"_s);
        QCOMPARE(caps.DiskSerial(), u"5EED0063"_s); // the fake's serial for c
    }

    void pollingOnlyForRemovableAndCdRom()
    {
        m_platform->addDrive('c');
        m_platform->addDrive('e', DriveTypes::CdRom);
        m_platform->addDrive('f', DriveTypes::Removable);
        TDiskCaps caps;
        caps.setDrive('c');
        caps.setCheckSNChange(true);
        QVERIFY(!caps.CheckSNChange());
        QVERIFY(!timer(caps));

        caps.setDrive('e');
        caps.setCheckPeriod(0);
        caps.setCheckSNChange(true);
        QVERIFY(!caps.CheckSNChange());
        QVERIFY(!timer(caps));

        caps.setCheckPeriod(1500);
        caps.setDrive('f');
        caps.setCheckSNChange(true);
        QVERIFY(caps.CheckSNChange());
        QCOMPARE(timer(caps)->interval(), 1500);
        caps.setCheckSNChange(false);
        QVERIFY(!timer(caps));
    }

    void removalAndInsertionSignalOnceEach()
    {
        TDiskCaps caps;
        startPolling(caps);
        QSignalSpy changed(&caps, &TDiskCaps::OnSNChanged);
        tick(caps);
        QCOMPARE(changed.size(), 0);

        m_platform->drive('e').ready = false; // the disc is taken out
        tick(caps);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].value<QObject *>(), &caps);
        QCOMPARE(caps.DiskSerial(), u"00000000"_s);
        tick(caps);
        QCOMPARE(changed.size(), 1);

        m_platform->drive('e').ready = true; // another disc goes in
        m_platform->drive('e').volume.serial = 0xCAFE0002;
        tick(caps);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(caps.DiskSerial(), u"CAFE0002"_s);
        tick(caps);
        QCOMPARE(changed.size(), 2);
    }

    void periodZeroStopsTicksButKeepsCheckSNChange()
    {
        TDiskCaps caps;
        startPolling(caps);
        QSignalSpy changed(&caps, &TDiskCaps::OnSNChanged);
        caps.setCheckPeriod(0);
        QVERIFY(!timer(caps));
        QVERIFY(caps.CheckSNChange());

        m_platform->drive('e').ready = false;
        caps.setCheckPeriod(1000);
        QCOMPARE(timer(caps)->interval(), 1000);
        QVERIFY(timer(caps)->isActive());
        tick(caps); // compared with the serial seen before the pause
        QCOMPARE(changed.size(), 1);
        QCOMPARE(caps.DiskSerial(), u"00000000"_s);
    }

    void changingDriveStopsPolling()
    {
        TDiskCaps caps;
        startPolling(caps);
        m_platform->addDrive('f', DriveTypes::CdRom);
        QSignalSpy driveChanged(&caps, &TDiskCaps::OnDriveChanged);
        QSignalSpy serialChanged(&caps, &TDiskCaps::OnSNChanged);
        caps.setDrive('f');
        QVERIFY(!timer(caps));
        QVERIFY(!caps.CheckSNChange());
        QCOMPARE(driveChanged.size(), 1);
        QCOMPARE(serialChanged.size(), 0);
        QCOMPARE(caps.DiskSerial(), u"5EED0066"_s);
    }

    void cdRomDrivesInLetterOrder()
    {
        m_platform->addDrive('a', DriveTypes::CdRom);
        m_platform->addDrive('b', DriveTypes::CdRom);
        m_platform->addDrive('c');
        m_platform->addDrive('g', DriveTypes::CdRom).ready = false; // empty drives count too
        m_platform->addDrive('e', DriveTypes::CdRom);
        m_platform->addDrive('f', DriveTypes::Removable);
        m_platform->addDrive('z', DriveTypes::CdRom);
        TCrCdA drives;
        QCOMPARE(drives.CdList(), (QStringList{u"101"_s, u"103"_s, u"122"_s}));
        QCOMPARE(drives.CdCount(), 3);

        // Found once per object.
        m_platform->addDrive('d', DriveTypes::CdRom);
        QCOMPARE(drives.CdCount(), 3);
        QCOMPARE(TCrCdA().CdList().first(), u"100"_s);
    }

    void noCdRomDrives()
    {
        m_platform->addDrive('c');
        QObject owner;
        auto *drives = new TCrCdA(&owner);
        QVERIFY(drives->CdList().isEmpty());
        QCOMPARE(drives->CdCount(), 0);
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
    std::optional<PlatformOverride> m_override;
};

QTEST_GUILESS_MAIN(TestDiskCaps)
#include "tst_diskcaps.moc"
