// The drive layer against a real kernel's CD-ROM driver. Runs inside the test machine that
// tests/vm/vmrun.py boots (tests/vm/guest.sh picks the functions of each boot): one
// emulated ATAPI drive, /dev/sr0, which the program calls D:, whose medium and tray the
// host moves when asked.
#include "GuestDiscs.h"
#include "HostLink.h"
#include "drives/DriveUtilities.h"
#include "drives/FileTime.h"
#include "drives/platform/linux/CdromControl.h"
#include "drives/platform/formats/DriveTypes.h"
#include "drives/platform/linux/MountInfoTable.h"
#include "drives/platform/linux/OpticalMediaWatch.h"
#include "drives/platform/Platform.h"
#include "drives/platform/linux/UdevMediaMonitor.h"
#include "drives/platform/linux/UdisksClient.h"
#include "store/DateText.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDirIterator>
#include <QtTest>

#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {
const QString kDevice = u"/dev/sr0"_s;
constexpr char kDrive = 'd';
// The longest a drive may take to notice a change: the program polls every 2 s, udev
// hears of it within the kernel's 2 s poll; the rest is for a slow emulated machine.
constexpr int kNoticeMs = 20000;

// What the drive list shows of a drive's volume, in one line.
QString volumeLine(char letter)
{
    RDriveInfo info;
    GetDriveInfo(letter, info);
    return u"label \"%1\" serial %2 %3 flags %4 max %5"_s.arg(
        info.DiskLabel, info.DiskSerial, info.FileSystem,
        QString::number(info.DriveFlags, 16).rightJustified(8, u'0'), QString::number(info.ComponentLen));
}

QString label(char letter)
{
    RDriveInfo info;
    GetDriveInfo(letter, info);
    return info.DiskLabel;
}

int statusCode()
{
    return CdromControl().status(kDevice).code;
}

QString drivecheck(const QStringList &args, QString *errors = nullptr, const QStringList &runAs = {})
{
    QProcess process;
    const QString program = qEnvironmentVariable("QUILLON_BUILD") + u"/bin/quillon-drivecheck"_s;
    if (runAs.isEmpty())
        process.start(program, args);
    else
        process.start(runAs.first(), runAs.mid(1) + QStringList{program} + args);
    process.waitForFinished(60000);
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool has(const QList<MediaChange> &changes, bool present)
{
    return std::any_of(changes.begin(), changes.end(), [present](const MediaChange &change) {
        return change.device == kDevice && change.present == present;
    });
}

// Every entry below a drive's root as "path|kind|size|date", the date in local time as
// the program writes it; directory sizes are left out, as the catalogue has none.
QStringList programTree(char letter, const QString &dir = {})
{
    QStringList result;
    for (const DirEntry &entry : Platform::instance().listDirectory(letter, dir).value_or(QList<DirEntry>{})) {
        const QString path = dir.isEmpty() ? entry.name : dir + u'/' + entry.name;
        result << u"%1|%2|%3|%4"_s.arg(path, entry.isDir ? u"dir"_s : u"file"_s,
                                       entry.isDir ? u"-"_s : QString::number(entry.size),
                                       DateText::fromDateTime(FileTimeToDateTime(entry.creationTime)));
        if (entry.isDir)
            result += programTree(letter, path);
    }
    return result;
}

QStringList mountedTree(const QString &root)
{
    QStringList result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        result << u"%1|%2|%3|%4"_s.arg(info.filePath().mid(root.size() + 1), info.isDir() ? u"dir"_s : u"file"_s,
                                       info.isDir() ? u"-"_s : QString::number(info.size()),
                                       DateText::fromDateTime(info.lastModified()));
    }
    return result;
}

bool run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool udisksKnowsFileSystem()
{
    QDBusInterface block(u"org.freedesktop.UDisks2"_s, u"/org/freedesktop/UDisks2/block_devices/sr0"_s,
                         u"org.freedesktop.UDisks2.Block"_s, QDBusConnection::systemBus());
    return block.property("IdUsage").toString() == u"filesystem"_s;
}

bool discMounted()
{
    return MountInfoTable::read(u"/proc/self/mountinfo"_s).find(makedev(11, 0)).has_value();
}
} // namespace

class TestRealDrive : public QObject {
    Q_OBJECT

    HostLink m_host;
    GuestDiscs m_discs;
    QMap<QString, QString> m_images; // by name, made on first use
    bool m_programSeesDisc = false;

    // An image of the test tree, made once.
    QString image(const QString &name)
    {
        if (!m_images.contains(name)) {
            static const QMap<QString, QStringList> options{
                {u"plain"_s, {u"-V"_s, u"PLAIN_ISO9660"_s}},
                {u"chinese"_s, {u"-J"_s, u"-V"_s, u"我的光盘"_s}},
                {u"longlabel"_s, {u"-J"_s, u"-joliet-long"_s, u"-V"_s, u"A_JOLIET_LABEL_OF_24_CHR"_s}},
                {u"bridge"_s, {u"-J"_s, u"-udf"_s, u"-V"_s, u"UDF_BRIDGE"_s}},
                {u"rich"_s, {u"-J"_s, u"-joliet-long"_s, u"-R"_s, u"-V"_s, u"歌曲_RICH"_s}},
            };
            m_images[name] = name == u"udf"_s ? m_discs.udfOnly(u"udf.img"_s, u"资料UDF"_s)
                                             : m_discs.genisoimage(name + u".iso"_s, options.value(name));
        }
        return m_images[name];
    }

    // Puts an image in the drive and waits until the drive reads it.
    bool insert(const QString &name)
    {
        const QString path = image(name);
        if (path.isEmpty()) {
            qWarning().noquote() << m_discs.lastError();
            return false;
        }
        return m_host.ask(u"insert "_s + path) == u"ok"_s &&
               QTest::qWaitFor([] { return IsDriveReady(kDrive); }, kNoticeMs);
    }

    // Whether the program's media events last said D: holds a disc.
    bool programSeesDisc(bool disc)
    {
        return QTest::qWaitFor([&] { return m_programSeesDisc == disc; }, kNoticeMs);
    }

    // The medium taken out and put in from the monitor, and the tray opened and closed by
    // the drive check, each seen as D:'s media event before the next change (a change
    // quicker than the program's look would go unseen, as it would on a real drive).
    void checkMediaEvents(const std::function<void()> &afterMonitorChanges)
    {
        QCOMPARE(m_host.ask(u"eject"_s), u"ok"_s);
        QVERIFY(programSeesDisc(false));
        QCOMPARE(m_host.ask(u"insert "_s + image(u"plain"_s)), u"ok"_s);
        QVERIFY(programSeesDisc(true));
        QCOMPARE(m_host.ask(u"eject"_s), u"ok"_s);
        QVERIFY(programSeesDisc(false));
        QCOMPARE(m_host.ask(u"insert "_s + image(u"plain"_s)), u"ok"_s);
        QVERIFY(programSeesDisc(true));
        afterMonitorChanges();

        QCOMPARE(drivecheck({u"--eject"_s, u"D"_s}), u"eject D: done\n"_s);
        QCOMPARE(m_host.ask(u"wait-tray open"_s), u"ok"_s);
        QCOMPARE(m_host.ask(u"tray"_s), u"ok open"_s);
        QVERIFY(programSeesDisc(false));
        QCOMPARE(drivecheck({u"--close"_s, u"D"_s}), u"close D: done\n"_s);
        QCOMPARE(m_host.ask(u"wait-tray closed"_s), u"ok"_s);
        QCOMPARE(m_host.ask(u"tray"_s), u"ok closed"_s);
        QVERIFY(programSeesDisc(true));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_host.isOpen(), "no line to the host: QUILLON_VM_LINK names no port");
        QVERIFY2(m_discs.isValid(), "no folder for the images in QUILLON_RESULTS");
        // The first use of the platform gives the drive its letter and starts watching it,
        // from what the drive holds now.
        QVERIFY(Platform::instance().letters().contains(kDrive));
        m_programSeesDisc = IsDriveReady(kDrive);
        connect(&Platform::instance(), &Platform::mediaEvent, this, [this](const MediaEvent &event) {
            if (event.unitMask == MediaEvent::unitBit(kDrive) && event.mediaFlag &&
                event.deviceType == MediaEvent::DeviceType::Volume)
                m_programSeesDisc = event.event == MediaEvent::Kind::Arrival;
        });
        QCOMPARE(Platform::instance().driveType(kDrive), DriveTypes::CdRom);
    }

    // Label, serial, file system, flags and longest name of each disc, read from the drive,
    // equal what the program reads from the image file.
    void volumesMatchTheirImages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("fileSystem");
        QTest::newRow("ISO 9660") << u"plain"_s << u"PLAIN_ISO9660"_s << u"CDFS"_s;
        QTest::newRow("Joliet, Chinese label") << u"chinese"_s << u"我的光盘"_s << u"CDFS"_s;
        QTest::newRow("Joliet label over 16") << u"longlabel"_s << u"A_JOLIET_LABEL_O"_s << u"CDFS"_s;
        QTest::newRow("UDF bridge") << u"bridge"_s << u"UDF_BRIDGE"_s << u"UDF"_s;
        QTest::newRow("UDF only") << u"udf"_s << u"资料UDF"_s << u"UDF"_s;
    }
    void volumesMatchTheirImages()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QFETCH(QString, fileSystem);
        QVERIFY(insert(name));
        const std::optional<char> virtualDrive = Platform::instance().attachImage(image(name));
        QVERIFY(virtualDrive);
        QCOMPARE(volumeLine(kDrive), volumeLine(*virtualDrive));
        QCOMPARE(::label(kDrive), label);
        RDriveInfo info;
        GetDriveInfo(kDrive, info);
        QCOMPARE(info.FileSystem, fileSystem);
        QVERIFY(info.DiskSerial != u"00000000"_s);
    }

    // The drive's own answer, and what the program makes of it.
    void driveStatus()
    {
        QCOMPARE(m_host.ask(u"eject"_s), u"ok"_s);
        QCOMPARE(statusCode(), int(DriveStatus::TrayOpen));
        QVERIFY(!IsDriveReady(kDrive));
        QCOMPARE(volumeLine(kDrive), u"label \"\" serial 00000000  flags 00000000 max 0"_s);
        QCOMPARE(m_host.ask(u"close"_s), u"ok"_s);
        QCOMPARE(statusCode(), int(DriveStatus::NoDisc));
        QVERIFY(!IsDriveReady(kDrive));
        QVERIFY(insert(u"chinese"_s));
        QCOMPARE(statusCode(), int(DriveStatus::DiscOk));
        QCOMPARE(label(kDrive), u"我的光盘"_s);
    }

    // Someone who may not open the device sees the drive as empty, and is told why once.
    void userWithoutAccess()
    {
        QVERIFY(insert(u"chinese"_s));
        QString errors;
        const QString listing =
            drivecheck({}, &errors, {u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s});
        const QString line = listing.split(u'\n').filter(QRegularExpression(u"^D:"_s)).value(0);
        QVERIFY2(line.contains(u"not ready"_s) && line.contains(u"serial 00000000"_s), qPrintable(listing + errors));
        QCOMPARE(errors.count(u"/dev/sr0: permission denied"_s), 1);
        QCOMPARE(errors.count(u'\n'), 1);
    }

    // The kernel does not poll the drive and udev does not run: the program polls.
    void mediaEventsByPolling()
    {
        QVERIFY(!QFileInfo::exists(u"/run/udev/control"_s));
        QVERIFY(!OpticalMediaWatch::kernelPolls(u"/sys"_s, u"sr0"_s));
        checkMediaEvents([] {});
    }

    // udev runs and the kernel polls: udev's events tell, and udev's own monitor hears them.
    void mediaEventsThroughUdev()
    {
        QVERIFY(QFileInfo::exists(u"/run/udev/control"_s));
        QVERIFY(OpticalMediaWatch::kernelPolls(u"/sys"_s, u"sr0"_s));
        UdevMediaMonitor monitor;
        QVERIFY(monitor.watch({OpticalDevice{kDevice, u"sr0"_s, makedev(11, 0), {}}}));
        QList<MediaChange> changes;
        connect(&monitor, &MediaEventSource::mediaChanged, this, [&](const QList<MediaChange> &seen) { changes += seen; });
        checkMediaEvents([&] {
            QVERIFY(has(changes, false));
            QTRY_VERIFY_WITH_TIMEOUT(has(changes, true), kNoticeMs);
        });
    }

    // udisks mounts the disc; an eject unmounts it first, and fails while a file on it is
    // open; a UDF-only disc is listed through its udisks mount.
    void mountedDisc()
    {
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::systemBus().interface()->isServiceRegistered(u"org.freedesktop.UDisks2"_s), 30000);
        QVERIFY(insert(u"bridge"_s));
        const std::optional<QString> mountPoint = UdisksClient().mount(kDevice);
        QVERIFY(mountPoint);
        QCOMPARE(Platform::instance().nativeRoot(kDrive), *mountPoint);
        {
            QFile held(*mountPoint + u"/readme.txt"_s);
            QVERIFY(held.open(QIODevice::ReadOnly));
            QVERIFY(!OpenCdDoor(u"D:"_s));
            QCOMPARE(m_host.ask(u"tray"_s), u"ok closed"_s);
            QVERIFY(discMounted());
        }
        QVERIFY(OpenCdDoor(u"D:"_s));
        QCOMPARE(m_host.ask(u"wait-tray open"_s), u"ok"_s);
        QVERIFY(!discMounted());

        QVERIFY(insert(u"udf"_s));
        // As a user would, once the desktop shows the disc: udisks learns of it from the
        // same udev event as the program, a moment later.
        QVERIFY(programSeesDisc(true));
        QTRY_VERIFY_WITH_TIMEOUT(udisksKnowsFileSystem(), kNoticeMs);
        QStringList names;
        for (const DirEntry &entry : Platform::instance().listDirectory(kDrive, u"歌曲/Live"_s).value_or(QList<DirEntry>{}))
            names << entry.name;
        QCOMPARE(names, QStringList{u"现场 录音.wav"_s});
        QVERIFY(discMounted());
        QCOMPARE(label(kDrive), u"资料UDF"_s);
        QVERIFY(OpenCdDoor(u"D:"_s));
        QCOMPARE(m_host.ask(u"wait-tray open"_s), u"ok"_s);
        QVERIFY(!discMounted());
    }

    // Every file as the program reads the disc's records equals the disc as the kernel's
    // isofs shows it without Rock Ridge (so with its Joliet names): names, sizes, dates.
    void readersAgree()
    {
        QVERIFY(insert(u"rich"_s));
        const QString root = u"/tmp/isofs"_s;
        QVERIFY(QDir().mkpath(root));
        QVERIFY(run(u"mount"_s, {u"-t"_s, u"iso9660"_s, u"-o"_s, u"ro,norock"_s, kDevice, root}));
        QStringList byKernel = mountedTree(root);
        QVERIFY(run(u"umount"_s, {root}));
        QStringList byProgram = programTree(kDrive);
        byKernel.sort();
        byProgram.sort();
        QCOMPARE(byProgram.size(), GuestDiscs::files().size() + 8); // and 8 directories
        QCOMPARE(byProgram, byKernel);
    }
};

QTEST_MAIN(TestRealDrive)
#include "tst_realdrive.moc"
