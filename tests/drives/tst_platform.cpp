// The drive boundary: the letter map, the Linux backend on real directories and a FAT
// image, the machine's own root drive, and FakePlatform's scripted answers.
#include "FakePlatform.h"
#include "drives/DriveUtilities.h"
#include "drives/platform/PlatformOverride.h"
#include "drives/platform/formats/NameBytes.h"
#include "drives/platform/formats/VolumeRules.h"
#include "drives/platform/linux/BlkidVolumeProbe.h"
#include "drives/platform/linux/LetterMap.h"
#include "drives/platform/linux/LinuxPlatform.h"
#include "drives/platform/linux/MountTableMounts.h"
#include "drives/platform/linux/ReaddirLister.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
class ScriptedMounts : public MountSource {
public:
    QList<MountEntry> list;
    QStringList unmounted;
    QList<MountEntry> mounts() override { return list; }
    bool isMounted(const MountEntry &mount) override { return !unmounted.contains(mount.rootPath); }
};

MountEntry mount(const QString &root, const QString &device = {}, const QString &type = u"ext4"_s)
{
    return MountEntry{root, device, type, false, true};
}

// A Linux platform over the given mounts, with the machine's probes and lister.
std::unique_ptr<LinuxPlatform> platformOver(ScriptedMounts *&mounts, const QList<MountEntry> &list)
{
    LinuxPlatform::Parts parts = LinuxPlatform::Parts::system();
    auto scripted = std::make_unique<ScriptedMounts>();
    scripted->list = list;
    mounts = scripted.get();
    parts.mounts = std::move(scripted);
    return std::make_unique<LinuxPlatform>(std::move(parts));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QMap<QString, DirEntry> byName(const QList<DirEntry> &entries)
{
    QMap<QString, DirEntry> map;
    for (const DirEntry &entry : entries)
        map.insert(entry.name, entry);
    return map;
}

constexpr quint64 kUnixEpoch = 116444736000000000ULL;
} // namespace

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void letterMapOrder()
    {
        const QList<MountEntry> mounts{
            mount(u"/mnt/b"_s),
            mount(u"/"_s, u"/dev/sda2"_s),
            mount(u"/media/a/"_s, u"/dev/sdb1"_s, u"vfat"_s),
            mount(u"/home"_s),
            MountEntry{u"/etc/resolv.conf"_s, {}, u"ext4"_s, false, false}, // a bind-mounted file
            mount(u"/mnt/b"_s, u"/dev/sdc1"_s),                             // hides the first /mnt/b
            mount(u"/media/cd"_s, u"/dev/sr0"_s, u"iso9660"_s),             // the disc of an optical drive
        };
        const QList<MountEntry> optical{mount(u"/media/cd"_s, u"/dev/sr0"_s), mount({}, u"/dev/sr1"_s)};
        const LetterMap map = LetterMap::build(mounts, optical);
        QCOMPARE(map.letters(), (QList<char>{'c', 'd', 'e', 'f', 'g', 'h'}));
        QCOMPARE(map.slot('c')->mount.rootPath, u"/"_s);
        QCOMPARE(map.slot('C')->mount.device, u"/dev/sda2"_s);
        QCOMPARE(map.slot('d')->kind, DriveSlot::Kind::Optical);
        QCOMPARE(map.slot('e')->mount.device, u"/dev/sr1"_s);
        QCOMPARE(map.slot('f')->mount.rootPath, u"/home"_s);
        QCOMPARE(map.slot('g')->mount.rootPath, u"/media/a"_s);
        QCOMPARE(map.slot('h')->mount.device, u"/dev/sdc1"_s);
        QVERIFY(!map.slot('i'));
        QVERIFY(!map.slot('1'));
    }

    // The mounts come from the mount table alone: a mount point that cannot be reached
    // still gets its letter, and only a local disk's bind mount is asked whether it is a
    // single file.
    void mountsFromTheTableAlone()
    {
        QTemporaryDir dir;
        QFile table(dir.filePath(u"mountinfo"_s));
        QVERIFY(table.open(QIODevice::WriteOnly));
        table.write("22 1 254:1 / / rw - ext4 /dev/vda1 rw\n"
                    "23 22 0:5 / /proc rw - proc proc rw\n"
                    "24 22 0:26 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
                    "25 22 0:40 / /mnt/gone\\040away rw - nfs4 server:/export rw\n"
                    "26 22 254:1 /var/lib/c/hosts /etc/hosts rw - ext4 /dev/vda1 rw\n"
                    "27 22 0:41 / /home/u/remote rw - fuse.sshfs u@host: rw\n"
                    "28 22 0:24 / /run rw - tmpfs tmpfs rw\n"
                    "29 22 254:1 /srv /mnt/srv rw - ext4 /dev/vda1 rw\n");
        table.close();
        QStringList asked;
        MountTableMounts source(table.fileName(), [&](const QString &mountPoint) {
            asked << mountPoint;
            return mountPoint == u"/etc/hosts"_s;
        });
        const QList<MountEntry> mounts = source.mounts();
        QCOMPARE(asked, (QStringList{u"/etc/hosts"_s, u"/mnt/srv"_s}));
        QStringList roots;
        for (const MountEntry &entry : mounts)
            roots << entry.rootPath;
        QCOMPARE(roots, (QStringList{u"/"_s, u"/mnt/gone away"_s, u"/etc/hosts"_s, u"/home/u/remote"_s, u"/run"_s,
                                     u"/mnt/srv"_s}));
        const LetterMap map = LetterMap::build(mounts, {});
        QCOMPARE(map.letters().size(), 5);
        QCOMPARE(map.locate(u"/mnt/gone away/x"_s)->relativePath, u"x"_s);
        QCOMPARE(map.locate(u"/etc/hosts"_s)->letter, 'c');
    }

    void letterMapLocatesPaths()
    {
        const LetterMap map = LetterMap::build({mount(u"/media/a"_s), mount(u"/media/a/inner"_s)}, {});
        const auto check = [&](const QString &path, char letter, const QString &relative) {
            const auto location = map.locate(path);
            QVERIFY(location);
            QCOMPARE(location->letter, letter);
            QCOMPARE(location->relativePath, relative);
        };
        check(u"/media/a/music/rock/"_s, 'd', u"music/rock"_s);
        check(u"/media/a/inner/x"_s, 'e', u"x"_s);
        check(u"/media/ab"_s, 'c', u"media/ab"_s);
        check(u"/"_s, 'c', QString());
        check(u"/media/a"_s, 'd', QString());
    }

    void letterMapEndsAtZ()
    {
        QList<MountEntry> mounts;
        for (int i = 0; i < 40; ++i)
            mounts.append(mount(u"/m/"_s + QString::number(i).rightJustified(2, u'0')));
        const LetterMap map = LetterMap::build(mounts, {});
        QCOMPARE(map.letters().size(), 24);
        QCOMPARE(map.slot('z')->mount.rootPath, u"/m/22"_s);
    }

    void volumeRules()
    {
        QCOMPARE(VolumeRules::serial(u"vfat"_s, u"ABCD-1234"_s), 0xABCD1234u);
        QCOMPARE(VolumeRules::serial(u"exfat"_s, u"0a1b-2c3d"_s), 0x0A1B2C3Du);
        QCOMPARE(VolumeRules::serial(u"ntfs"_s, u"0123456789ABCDEF"_s), 0x89ABCDEFu);
        QCOMPARE(VolumeRules::serial(u"ext4"_s, u"c5b77d2a-6e9b-40c4-bc54-4ed8dad2e7f8"_s), 0xC5B77D2Au);
        QCOMPARE(VolumeRules::serial(u"ext4"_s, QString()), 0u);
        QCOMPARE(VolumeRules::serial(u"ext4"_s, u"not-a-uuid"_s), 0u);
        QCOMPARE(VolumeRules::fileSystemName(u"vfat"_s, u"FAT32"_s), u"FAT32"_s);
        QCOMPARE(VolumeRules::fileSystemName(u"vfat"_s, u"FAT16"_s), u"FAT"_s);
        QCOMPARE(VolumeRules::fileSystemName(u"ntfs"_s, {}), u"NTFS"_s);
        QCOMPARE(VolumeRules::fileSystemName(u"btrfs"_s, {}), u"btrfs"_s);
        QCOMPARE(VolumeRules::driveType(u"nfs4"_s, false), DriveTypes::Remote);
        QCOMPARE(VolumeRules::driveType(u"fuse.sshfs"_s, false), DriveTypes::Remote);
        QCOMPARE(VolumeRules::driveType(u"tmpfs"_s, false), DriveTypes::RamDisk);
        QCOMPARE(VolumeRules::driveType(u"vfat"_s, true), DriveTypes::Removable);
        QCOMPARE(VolumeRules::driveType(u"ext4"_s, false), DriveTypes::Fixed);
        QVERIFY(VolumeRules::flags(u"ext4"_s, false) & VolumeFlags::CaseSensitiveSearch);
        QVERIFY(!(VolumeRules::flags(u"vfat"_s, false) & VolumeFlags::CaseSensitiveSearch));
        QVERIFY(VolumeRules::flags(u"ext4"_s, true) & VolumeFlags::ReadOnlyVolume);
        QCOMPARE(VolumeRules::decodeUdevText("MY\\x20DISK\\x5c"), u"MY DISK\\"_s);
        QCOMPARE(VolumeRules::decodeUdevText("\\xe5\\x85\\x89\\xe7\\x9b\\x98 1"), u"光盘 1"_s);
        QCOMPARE(VolumeRules::decodeUdevText(nullptr), QString());
    }

    void listsARealTree()
    {
        QTemporaryDir tmp;
        const QString root = tmp.path();
        QVERIFY(writeFile(root + u"/a.mp3"_s, "abc"));
        QVERIFY(writeFile(root + u"/.hidden"_s, "x"));
        QVERIFY(writeFile(root + u"/歌曲.mp3"_s, "12345"));
        QVERIFY(QDir(root).mkpath(u".config"_s));
        QVERIFY(QDir(root).mkpath(u"sub"_s));
        QVERIFY(writeFile(root + u"/sub/deep.txt"_s, "deep"));
        QVERIFY(QFile::link(u".."_s, root + u"/sub/up"_s)); // a loop back to the root
        QVERIFY(QFile::link(u"self"_s, root + u"/self"_s)); // a link to itself
        QVERIFY(QFile::link(u"nowhere"_s, root + u"/dangling"_s));
        QVERIFY(QFile::link(u"a.mp3"_s, root + u"/tofile"_s));
        QVERIFY(QFile::link(u"sub"_s, root + u"/todir"_s));
        QFile big(root + u"/big.bin"_s);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(5) << 30)); // sparse
        big.close();

        ScriptedMounts *mounts = nullptr;
        auto platform = platformOver(mounts, {mount(u"/"_s), mount(root)});
        QCOMPARE(platform->nativeRoot('d'), root);
        const auto listing = platform->listDirectory('D', QString());
        QVERIFY(listing);
        const auto entries = byName(*listing);
        QCOMPARE(entries.keys(), (QStringList{u".config"_s, u".hidden"_s, u"a.mp3"_s, u"big.bin"_s, u"sub"_s,
                                              u"tofile"_s, u"歌曲.mp3"_s}));
        QVERIFY(entries[u".config"_s].isDir && entries[u".config"_s].hidden);
        QVERIFY(!entries[u".hidden"_s].isDir && entries[u".hidden"_s].hidden);
        QVERIFY(entries[u"sub"_s].isDir && !entries[u"sub"_s].hidden && !entries[u"sub"_s].otherDevice);
        QCOMPARE(entries[u"a.mp3"_s].size, 3);
        QCOMPARE(entries[u"tofile"_s].size, 3);
        QVERIFY(!entries[u"tofile"_s].isDir);
        QCOMPARE(entries[u"歌曲.mp3"_s].size, 5);
        QCOMPARE(entries[u"big.bin"_s].size, Q_INT64_C(5368709120));

        const QFileInfo info(root + u"/a.mp3"_s);
        const QDateTime created = info.birthTime().isValid() ? info.birthTime() : info.lastModified();
        QCOMPARE(qint64(entries[u"a.mp3"_s].creationTime - kUnixEpoch) / 10000, created.toMSecsSinceEpoch());

        const auto sub = platform->listDirectory('d', u"sub/"_s);
        QVERIFY(sub);
        QCOMPARE(byName(*sub).keys(), QStringList{u"deep.txt"_s});
        QVERIFY(!platform->listDirectory('d', u"sub/../.."_s));
        QVERIFY(!platform->listDirectory('d', u"missing"_s));
        QVERIFY(!platform->listDirectory('d', u"a.mp3"_s));
        QVERIFY(!platform->listDirectory('q', QString()));

        mounts->unmounted.append(root); // the stick was pulled: its directory answers nothing
        QVERIFY(!platform->listDirectory('d', QString()));
    }

    void marksOtherFileSystems()
    {
        const auto entries = ReaddirLister().list(u"/"_s, false);
        QVERIFY(entries);
        const auto map = byName(*entries);
        QVERIFY(map.contains(u"proc"_s) && map.contains(u"usr"_s));
        QVERIFY(map[u"proc"_s].otherDevice);
        QCOMPARE(map[u"usr"_s].otherDevice, QStorageInfo(u"/usr"_s).rootPath() == u"/usr"_s);

        // A directory the system cannot tell its device of still lists its folders as
        // its own, so a scan goes on into them.
        struct BlindLister : ReaddirLister {
            std::optional<struct statx> directoryStat(int) const override { return std::nullopt; }
        };
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        const auto blind = BlindLister().list(dir.path(), false);
        QVERIFY(blind && blind->size() == 1);
        QVERIFY(blind->first().isDir && !blind->first().otherDevice);
    }

    // Every byte of a name survives: UTF-8 as it is, GB18030 read as such, any other byte
    // as "%FF"; a decoded name never gains a backslash.
    void namesFromTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::newRow("utf-8") << QByteArray("音乐 a.mp3") << u"音乐 a.mp3"_s;
        QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBFx") << u"\uFEFFx"_s;
        QTest::newRow("gb18030, two bytes") << QByteArray("\xD2\xF4\xC0\xD6.mp3") << u"音乐.mp3"_s;
        QTest::newRow("gb18030, trail byte 0x5C") << QByteArray("\x95\x5C") << u"昞"_s;
        QTest::newRow("gb18030, four bytes") << QByteArray("\x81\x30\x81\x30") << u"\u0080"_s;
        QTest::newRow("neither") << QByteArray("caf\xE9") << u"caf%E9"_s;
        QTest::newRow("utf-8 beside stray bytes") << QByteArray("\xE9\x9F\xB3\xFF\x80%") << u"音%FF%80%"_s;
        QTest::newRow("surrogate in utf-8 form") << QByteArray("\xED\xA0\x80") << u"%ED%A0%80"_s;
        QTest::newRow("cut four-byte gb18030") << QByteArray("\x81\x30\x81") << u"%810%81"_s;
    }

    void namesFromTheirBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QCOMPARE(NameBytes::decode(bytes), name);
    }

    void fileTimesFromUnixTimes()
    {
        QCOMPARE(ReaddirLister::fileTimeFromUnix(0, 0), kUnixEpoch);
        QCOMPARE(ReaddirLister::fileTimeFromUnix(1, 999999999), kUnixEpoch + 19999999);
        QCOMPARE(ReaddirLister::fileTimeFromUnix(-11644473600LL, 0), 0ULL);
        QCOMPARE(ReaddirLister::fileTimeFromUnix(-11644473601LL, 0), 0ULL);
    }

    void readsAFatImage()
    {
        QString mkfs = QStandardPaths::findExecutable(u"mkfs.vfat"_s);
        if (mkfs.isEmpty())
            mkfs = QStandardPaths::findExecutable(u"mkfs.vfat"_s, {u"/usr/sbin"_s, u"/sbin"_s});
        if (mkfs.isEmpty())
            QSKIP("mkfs.vfat is missing: install dosfstools (scripts/setup.sh does)");
        QTemporaryDir tmp;
        const QString image = tmp.filePath(u"fat.img"_s);
        QProcess process;
        process.start(mkfs, {u"-i"_s, u"1234ABCD"_s, u"-n"_s, u"QUILLON"_s, u"-C"_s, image, u"1440"_s});
        QVERIFY(process.waitForFinished() && process.exitCode() == 0);

        const auto id = BlkidVolumeProbe::probeFile(image);
        QVERIFY(id);
        QCOMPARE(id->type, u"vfat"_s);
        QCOMPARE(id->uuid, u"1234-ABCD"_s);
        QCOMPARE(id->label, u"QUILLON"_s);

        // The image stands for the device of a mount; the drive reads it as Windows would.
        const QString mountPoint = tmp.filePath(u"mnt"_s);
        QVERIFY(QDir().mkpath(mountPoint));
        ScriptedMounts *mounts = nullptr;
        auto platform = platformOver(mounts, {mount(u"/"_s), mount(mountPoint, image, u"vfat"_s)});
        PlatformOverride inForce(*platform);
        RDriveInfo info;
        GetDriveInfo('d', info);
        QCOMPARE(info.DiskSerial, u"1234ABCD"_s);
        QCOMPARE(info.DiskLabel, u"QUILLON"_s);
        QCOMPARE(info.FileSystem, u"FAT"_s);
        QCOMPARE(info.DriveType, DriveTypes::Fixed);
        QVERIFY(info.ComponentLen > 0);
        QVERIFY(!(info.DriveFlags & VolumeFlags::CaseSensitiveSearch));
        QVERIFY(IsDriveReady('d'));

        mounts->unmounted.append(mountPoint);
        GetDriveInfo('d', info);
        QCOMPARE(info.DiskSerial, u"00000000"_s);
        QCOMPARE(info.FileSystem, QString());
        QCOMPARE(info.DriveType, DriveTypes::Fixed);
        QVERIFY(!IsDriveReady('d'));
    }

    void thisMachinesDrives()
    {
        Platform &platform = Platform::instance();
        QCOMPARE(platform.nativeRoot('c'), u"/"_s);
        RDriveInfo info;
        GetDriveInfo('c', info);
        QCOMPARE(info.DriveType, DriveTypes::Fixed);
        QCOMPARE(info.FileSystem, QString::fromLatin1(QStorageInfo::root().fileSystemType()));
        QVERIFY(info.DiskSerial != u"00000000"_s);
        QVERIFY(info.ComponentLen > 0);
        QVERIFY(IsDriveReady('c'));
        QVERIFY(!OpenCdDoor(u"C:"_s));
        QVERIFY(!platform.attachImage(u"/nonexistent.iso"_s));

        const QList<char> letters = platform.letters();
        char free = 0;
        for (char l = 'd'; l <= 'z' && !free; ++l)
            free = letters.contains(l) ? 0 : l;
        if (!free)
            QSKIP("every letter names a drive on this machine");
        GetDriveInfo(free, info);
        QCOMPARE(info.DriveType, DriveTypes::NoRootDir);
        QCOMPARE(info.DiskSerial, u"00000000"_s);
        QCOMPARE(info.DiskLabel, QString());
        QCOMPARE(info.FileSystem, QString());
        QCOMPARE(info.ComponentLen, 0);
        QCOMPARE(info.DriveFlags, 0u);

        // A folder of this machine is listed through its drive letter.
        QTemporaryDir tmp;
        QVERIFY(writeFile(tmp.filePath(u"x.txt"_s), "x"));
        const auto location = platform.locate(tmp.path());
        QVERIFY(location);
        const auto listing = platform.listDirectory(location->letter, location->relativePath);
        QVERIFY(listing);
        QCOMPARE(byName(*listing).keys(), QStringList{u"x.txt"_s});
    }

    void overridesNest()
    {
        FakePlatform outer, inner;
        Platform &system = Platform::instance();
        {
            PlatformOverride first(outer);
            QCOMPARE(&Platform::instance(), &outer);
            {
                PlatformOverride second(inner);
                QCOMPARE(&Platform::instance(), &inner);
            }
            QCOMPARE(&Platform::instance(), &outer);
        }
        QCOMPARE(&Platform::instance(), &system);
    }

    void fakeListsWithScriptedTimesAndLocks()
    {
        FakePlatform fake;
        const QString root = fake.addDrive('e', DriveTypes::CdRom).root;
        QVERIFY(QDir(root).mkpath(u"music/locked"_s));
        QVERIFY(writeFile(root + u"/music/a.mp3"_s, "abc"));
        fake.setCreationTime('E', u"music/a.mp3"_s, 133485408000000000ULL);
        fake.setUnreadable('e', u"music/locked/"_s);

        const auto music = fake.listDirectory('e', u"/music"_s);
        QVERIFY(music);
        const auto entries = byName(*music);
        QCOMPARE(entries[u"a.mp3"_s].creationTime, 133485408000000000ULL);
        QCOMPARE(entries[u"a.mp3"_s].size, 3);
        QVERIFY(entries[u"locked"_s].isDir);
        QVERIFY(!fake.listDirectory('e', u"music/locked"_s));
        QVERIFY(!fake.listDirectory('e', u"music/../.."_s));
        QCOMPARE(fake.locate(root + u"/music/a.mp3"_s)->relativePath, u"music/a.mp3"_s);

        fake.drive('e').ready = false; // no disc
        QVERIFY(!fake.listDirectory('e', u"music"_s));
    }

    void mediaEventsArriveQueued()
    {
        FakePlatform fake;
        QList<MediaEvent> seen;
        connect(
            &fake, &Platform::mediaEvent, this, [&](const MediaEvent &e) { seen.append(e); }, Qt::QueuedConnection);
        fake.emitMediaEvent(FakePlatform::arrival({'e', 'G'}));
        fake.emitMediaEvent(FakePlatform::removal({'z'}));
        QVERIFY(seen.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0].event, MediaEvent::Kind::Arrival);
        QCOMPARE(seen[0].deviceType, MediaEvent::DeviceType::Volume);
        QVERIFY(seen[0].mediaFlag);
        QCOMPARE(seen[0].unitMask, (1u << 4) | (1u << 6));
        QCOMPARE(seen[1].event, MediaEvent::Kind::RemoveComplete);
        QCOMPARE(seen[1].unitMask, 1u << 25);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
