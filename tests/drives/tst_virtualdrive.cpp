// Virtual CD-ROM drives backed by image files: their letters, what the drive utilities
// read from them, their trays and media events, the scan of their files, and the
// command line that names them.
#include "IsoImages.h"
#include "VirtualDriveRig.h"
#include "drives/CdImageOption.h"
#include "drives/DriveUtilities.h"
#include "drives/platform/PlatformOverride.h"
#include "drives/platform/formats/DriveTypes.h"
#include "drives/platform/formats/VolumeDescriptors.h"
#include "import/ScanFiles.h"
#include "store/FileRowModel.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
using Rig = VirtualDriveRig;

MediaEvent eventOf(const QList<QVariant> &signal)
{
    return signal.at(0).value<MediaEvent>();
}

void checkNoVolume(char letter)
{
    RDriveInfo info;
    GetDriveInfo(letter, info);
    QCOMPARE(info.DriveType, DriveTypes::CdRom);
    QCOMPARE(info.DiskLabel, QString());
    QCOMPARE(info.DiskSerial, u"00000000"_s);
    QCOMPARE(info.FileSystem, QString());
    QCOMPARE(info.ComponentLen, 0);
    QCOMPARE(info.DriveFlags, 0u);
    QVERIFY(!IsDriveReady(letter));
}

#define REQUIRE_TOOL(tool)                                                                                             \
    if (!IsoImages::has(u##tool##_s))                                                                                  \
    QSKIP(qPrintable(IsoImages::missing(u##tool##_s)))
} // namespace

class TestVirtualDrive : public QObject {
    Q_OBJECT

    IsoImages m_images;
    QString m_joliet; // label 我的光盘, Joliet names
    QString m_udf;    // UDF bridge, label UDF_DISC

private slots:
    void initTestCase()
    {
        REQUIRE_TOOL("genisoimage");
        QVERIFY(QDir().mkpath(m_images.path(u"tree/音乐"_s)));
        m_images.write(u"音乐/青花瓷.mp3"_s, QByteArray(3000, 'x'));
        m_joliet = m_images.genisoimage(u"j.iso"_s, {u"-J"_s, u"-V"_s, u"我的光盘"_s});
        m_udf = m_images.genisoimage(u"u.iso"_s, {u"-J"_s, u"-udf"_s, u"-V"_s, u"UDF_DISC"_s});
        QVERIFY2(!m_joliet.isEmpty() && !m_udf.isEmpty(), qPrintable(m_images.lastError));
    }

    void lettersFollowTheOpticalDrives()
    {
        Rig rig;
        LinuxPlatform &p = *rig.platform;
        // Attached before the drives were first asked for: right after the optical drive,
        // before the mounted file systems.
        QCOMPARE(p.attachImage(m_joliet), std::optional<char>('e'));
        QCOMPARE(p.attachImage(m_udf), std::optional<char>('f'));
        QCOMPARE(p.letters(), (QList<char>{'c', 'd', 'e', 'f', 'g'}));
        QCOMPARE(p.nativeRoot('g'), u"/home"_s);
        // Later: the next free letter.
        QCOMPARE(p.attachImage(m_joliet), std::optional<char>('h'));
        for (char letter : {'d', 'e', 'f', 'h'})
            QCOMPARE(p.driveType(letter), DriveTypes::CdRom);
        QCOMPARE(p.driveType('g'), DriveTypes::Fixed);
        QCOMPARE(p.nativeRoot('e'), QString()); // never mounted
    }

    void filesThatAreNoDiscAreRefused()
    {
        Rig rig;
        LinuxPlatform &p = *rig.platform;
        QFile zeros(m_images.path(u"zeros.iso"_s));
        QVERIFY(zeros.open(QIODevice::WriteOnly) && zeros.resize(64 * 2048));
        zeros.close();
        const QStringList refused{m_images.path(u"missing.iso"_s), m_images.path(u"tree"_s), zeros.fileName()};
        for (const char *why : {"no such file", "not a regular file", "no ISO 9660, Joliet or UDF volume in it"})
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"not attached as a CD image: "_s + QLatin1String(why)));
        for (const QString &path : refused)
            QVERIFY(!p.attachImage(path));
        QCOMPARE(p.attachImage(m_joliet), std::optional<char>('e')); // no letter was used up
    }

    void driveInformationWhileInsertedAndEjected()
    {
        Rig rig;
        const char letter = *rig.platform->attachImage(m_joliet);
        const char udfLetter = *rig.platform->attachImage(m_udf);
        PlatformOverride inForce(*rig.platform);
        const auto reader = FileSectorReader::openImage(m_joliet);
        const quint32 serial = VolumeDescriptors::read(*reader)->info.serial;

        RDriveInfo info;
        GetDriveInfo(letter, info);
        QCOMPARE(info.DriveType, DriveTypes::CdRom);
        QCOMPARE(info.DiskLabel, u"我的光盘"_s);
        QCOMPARE(info.DiskSerial, QString::number(serial, 16).toUpper().rightJustified(8, u'0'));
        QCOMPARE(info.FileSystem, u"CDFS"_s);
        QCOMPARE(info.ComponentLen, 110);
        QVERIFY(IsDriveReady(letter));
        GetDriveInfo(udfLetter, info);
        QCOMPARE(info.DiskLabel, u"UDF_DISC"_s);
        QCOMPARE(info.FileSystem, u"UDF"_s);

        QVERIFY(OpenCdDoor(u"E:"_s));
        checkNoVolume(letter);
        QVERIFY(!rig.platform->listDirectory(letter, QString()));
        QVERIFY(!rig.platform->volumeSize(letter));
        QVERIFY(CloseCdDoor(u"E:"_s));
        GetDriveInfo(letter, info);
        QCOMPARE(info.DiskLabel, u"我的光盘"_s);
        QVERIFY(IsDriveReady(letter));
        // The real drive beside it is untouched.
        QCOMPARE(rig.control->requests, QStringList());
    }

    void trayRaisesTheEventsOfADrive()
    {
        Rig rig;
        LinuxPlatform &p = *rig.platform;
        const char letter = *p.attachImage(m_joliet);
        QSignalSpy spy(&p, &Platform::mediaEvent);
        QVERIFY(p.openTray(letter));
        QCOMPARE(spy.size(), 0);     // delivered from the event loop, as a drive's are
        QVERIFY(p.openTray(letter)); // already open: no new change
        QVERIFY(p.closeTray(letter));
        QTRY_COMPARE(spy.size(), 2);
        const MediaEvent removed = eventOf(spy.at(0)), arrived = eventOf(spy.at(1));
        QCOMPARE(removed.event, MediaEvent::Kind::RemoveComplete);
        QCOMPARE(arrived.event, MediaEvent::Kind::Arrival);
        for (const MediaEvent &event : {removed, arrived}) {
            QCOMPARE(event.deviceType, MediaEvent::DeviceType::Volume);
            QVERIFY(event.mediaFlag);
            QCOMPARE(event.unitMask, MediaEvent::unitBit(letter));
        }
        QVERIFY(p.closeTray(letter)); // already closed: nothing more
        QTest::qWait(20);
        QCOMPARE(spy.size(), 2);
    }

    void imageThatVanishesIsAnEmptyDrive()
    {
        Rig rig;
        const QString copy = m_images.path(u"copy.iso"_s);
        QVERIFY(QFile::copy(m_joliet, copy));
        const char letter = *rig.platform->attachImage(copy);
        PlatformOverride inForce(*rig.platform);
        QVERIFY(IsDriveReady(letter));
        QVERIFY(QFile::remove(copy));
        checkNoVolume(letter);
    }

    void scanOfAVirtualDrive()
    {
        Rig rig;
        const char letter = *rig.platform->attachImage(m_joliet);
        PlatformOverride inForce(*rig.platform);
        FileRowModel rows;
        const bool scanning = true;
        ScanFiles(u"e:\\"_s, {u"*.*"_s}, rows, scanning, nullptr);
        QCOMPARE(letter, 'e');
        QStringList found;
        for (const FileRow &row : rows.rows())
            found.append(row.sub[2] + row.caption + u' ' + row.sub[0]);
        QCOMPARE(found, (QStringList{u"e:\\music\\a.mp3 3"_s, u"e:\\音乐\\青花瓷.mp3 3000"_s, u"e:\\boot.img 2048"_s,
                                     u"e:\\readme.txt 5"_s}));
        for (const FileRow &row : rows.rows())
            QVERIFY2(!row.sub[1].isEmpty(), qPrintable(row.caption));
    }

    void commandLine()
    {
        const QStringList arguments{u"quillon"_s, u"--cd-image"_s,         u"a.iso"_s,     u"-style"_s,
                                    u"fusion"_s,  u"--cd-image=b c.iso"_s, u"--cd-image"_s};
        QCOMPARE(CdImageOption::paths(arguments), (QStringList{u"a.iso"_s, u"b c.iso"_s, QString()}));
        QCOMPARE(CdImageOption::paths({u"quillon"_s}), QStringList());

        Rig rig;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"missing.iso: not attached"_s));
        const auto failures =
            CdImageOption::attachAll({u"quillon"_s, u"--cd-image"_s, m_joliet, u"--cd-image"_s,
                                      m_images.path(u"missing.iso"_s), u"--cd-image="_s + m_udf, u"--cd-image"_s},
                                     *rig.platform);
        QCOMPARE(failures.size(), 2);
        QCOMPARE(failures[0].message, u"无法载入光盘映像：%1"_s.arg(m_images.path(u"missing.iso"_s)));
        QCOMPARE(failures[0].details, u"文件不存在。"_s);
        QCOMPARE(failures[1].message, u"命令行参数 --cd-image 后缺少光盘映像文件的路径。"_s);
        // The images that could be attached follow the optical drive, in order.
        QCOMPARE(rig.platform->letters(), (QList<char>{'c', 'd', 'e', 'f', 'g'}));
        PlatformOverride inForce(*rig.platform);
        RDriveInfo info;
        GetDriveInfo('f', info);
        QCOMPARE(info.DiskLabel, u"UDF_DISC"_s);
    }
};

QTEST_GUILESS_MAIN(TestVirtualDrive)
#include "tst_virtualdrive.moc"
