// ISO 9660 and Joliet directories read from a disc's records: hand-made records and
// directories (names, dates, flags, files of several extents, damaged discs that must
// not crash or loop), and images made by genisoimage and xorriso whose listings must
// equal the trees the tools were given. Runs in two time zones.
#include "IsoImages.h"
#include "OpticalFakes.h"
#include "drives/FileTime.h"
#include "drives/platform/formats/IsoDirectory.h"
#include "drives/platform/formats/IsoFileSystem.h"
#include "drives/platform/formats/VolumeDescriptors.h"
#include "store/DateText.h"

#include <QDirIterator>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
constexpr quint64 kTicks = 10000000;
constexpr qint64 kSecondsFrom1601To1970 = 11644473600LL;
constexpr quint8 kDir = IsoDirectoryRecord::Directory;

quint64 fileTimeOf(const QDateTime &time)
{
    return quint64(time.toSecsSinceEpoch() + kSecondsFrom1601To1970) * kTicks;
}

QByteArray both32(quint32 value)
{
    QByteArray b(8, '\0');
    for (int i = 0; i < 4; ++i) {
        b[i] = char(value >> (8 * i));
        b[7 - i] = char(value >> (8 * i));
    }
    return b;
}

QByteArray ucs2(const QString &name)
{
    QByteArray b;
    for (const QChar c : name)
        b += char(c.unicode() >> 8), b += char(c.unicode() & 0xff);
    return b;
}

// One directory record; date: years since 1900, month, day, hour, minute, second, offset.
QByteArray record(const QByteArray &identifier, quint32 extent, quint32 length, quint8 flags = 0,
                  const QByteArray &date = QByteArray::fromHex("680301000000"
                                                               "00"))
{
    QByteArray r(33, '\0');
    r.replace(2, 8, both32(extent));
    r.replace(10, 8, both32(length));
    r.replace(18, 7, date);
    r[25] = char(flags);
    r[28] = 1, r[31] = 1; // volume sequence number 1
    r[32] = char(identifier.size());
    r += identifier;
    if (r.size() % 2)
        r += '\0';
    r[0] = char(r.size());
    return r;
}

QByteArray self(quint32 extent)
{
    return record(QByteArray(1, '\0'), extent, 2048, kDir);
}
QByteArray parentRecord(quint32 extent)
{
    return record(QByteArray(1, '\1'), extent, 2048, kDir);
}

// Records packed into 2048-byte sectors: one that does not fit goes to the next sector.
QList<QByteArray> sectors(const QList<QByteArray> &records)
{
    QList<QByteArray> result{QByteArray()};
    for (const QByteArray &r : records) {
        if (result.last().size() + r.size() > 2048)
            result.append(QByteArray());
        result.last() += r;
    }
    for (QByteArray &s : result)
        s.append(QByteArray(2048 - s.size(), '\0'));
    return result;
}

// A disc of hand-made directories; the root is at sector 20.
struct HandMadeDisc {
    MemorySectorReader reader;
    DiscVolume volume;
    bool joliet = true;

    HandMadeDisc()
    {
        volume.format = DiscVolume::Format::Joliet;
        volume.rootExtent = 20;
        volume.rootLength = 2048;
    }
    // A directory at an extent, its "." and ".." first; its length in bytes.
    quint32 put(quint32 extent, quint32 parentExtent, const QList<QByteArray> &records)
    {
        const auto all = sectors(QList<QByteArray>{self(extent), parentRecord(parentExtent)} + records);
        for (qsizetype i = 0; i < all.size(); ++i)
            reader.sectors[extent + quint32(i)] = all[i];
        return quint32(all.size() * 2048);
    }
    std::optional<QList<DirEntry>> list(const QStringList &path = {})
    {
        return IsoFileSystem(reader, volume).list(path);
    }
};

QByteArray name(const QString &text)
{
    return ucs2(text);
}

// A file's or directory's modification time (the time image tools record).
bool setModified(const QString &path, const QDateTime &time)
{
    const struct timespec times[2] = {{time.toSecsSinceEpoch(), 0}, {time.toSecsSinceEpoch(), 0}};
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

QStringList names(const std::optional<QList<DirEntry>> &entries)
{
    QStringList result;
    for (const DirEntry &e : entries.value_or(QList<DirEntry>{}))
        result.append(e.name + (e.isDir ? u"/"_s : u""_s));
    return result;
}

// Every directory of a disc walked as the scan walks it: "path/" for directories and
// "path size" for files. Counts the listings it asked for.
QStringList walk(IsoFileSystem &fs, const QStringList &path, int &listings)
{
    QStringList found;
    ++listings;
    const auto entries = fs.list(path);
    for (const DirEntry &e : entries.value_or(QList<DirEntry>{})) {
        const QString at = (path + QStringList{e.name}).join(u'/');
        if (e.isDir && listings < 10000) {
            found.append(at + u'/');
            found += walk(fs, path + QStringList{e.name}, listings);
        } else if (!e.isDir) {
            found.append(at + u' ' + QString::number(e.size));
        }
    }
    return found;
}

// What the image tool was given: every entry below a directory, as "path/" or
// "path size", with each one's modification time.
struct TreeEntry {
    bool isDir = false;
    qint64 size = 0;
    quint64 time = 0;
};

QMap<QString, TreeEntry> treeOf(const QString &root)
{
    QMap<QString, TreeEntry> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString relative = QDir(root).relativeFilePath(info.filePath());
        tree.insert(relative, {info.isDir(), info.isDir() ? 0 : info.size(), fileTimeOf(info.lastModified())});
    }
    return tree;
}

QMap<QString, DirEntry> listingOf(IsoFileSystem &fs, const QStringList &path = {})
{
    QMap<QString, DirEntry> all;
    const auto entries = fs.list(path);
    for (const DirEntry &e : entries.value_or(QList<DirEntry>{})) {
        const QStringList at = path + QStringList{e.name};
        all.insert(at.join(u'/'), e);
        if (e.isDir)
            all.insert(listingOf(fs, at));
    }
    return all;
}

#define REQUIRE_TOOL(tool)                                                                                             \
    if (!IsoImages::has(u##tool##_s))                                                                                  \
    QSKIP(qPrintable(IsoImages::missing(u##tool##_s)))
} // namespace

class TestIsoDirectory : public QObject {
    Q_OBJECT

    // A tree with Chinese names, a deep branch, files of several sizes, a file to hide,
    // and chosen modification times, one of them local midnight.
    void makeTree(IsoImages &images)
    {
        const QString deep = u"深/a/b/c/d/e/f/g/h/i/j/k"_s;
        QVERIFY(QDir(images.path(u"tree"_s)).mkpath(deep));
        QVERIFY(QDir(images.path(u"tree"_s)).mkpath(u"音乐/周杰伦"_s));
        QVERIFY(QDir(images.path(u"tree"_s)).mkpath(u"空目录"_s));
        images.write(deep + u"/最深的文件.txt"_s, "deep");
        images.write(u"音乐/周杰伦/青花瓷.mp3"_s, QByteArray(100000, 'x'));
        images.write(u"音乐/周杰伦/a long name with spaces, commas & more.wav"_s, QByteArray(2049, 'y'));
        images.write(u"empty.dat"_s, QByteArray());
        images.write(u"secret.txt"_s, "hidden");
        images.write(u"midnight.txt"_s, "0:00");
        images.write(u"LICENSE"_s, "no extension");
        const QString tree = images.path(u"tree"_s);
        int n = 0;
        QDirIterator it(tree, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        QStringList all;
        while (it.hasNext())
            all.append(it.next());
        // Files and directories alike; setting a time changes no directory's own.
        for (const QString &path : all) {
            const QDateTime time(QDate(2001 + n % 20, 1 + n % 12, 1 + n % 28), QTime(n % 24, n % 60, n % 60));
            QVERIFY(setModified(path, time));
            ++n;
        }
        QVERIFY(setModified(tree + u"/midnight.txt"_s, QDateTime(QDate(2004, 3, 1), QTime(0, 0))));
    }

    // The listing of an image against the tree it was made of: the same names, kinds,
    // sizes and times, and only the file given to -hidden hidden.
    void compareWithTree(const QString &image, const QString &tree, const QString &hidden)
    {
        const auto reader = FileSectorReader::openImage(image);
        QVERIFY(reader);
        const auto volume = VolumeDescriptors::readIso9660(*reader);
        QVERIFY(volume);
        QCOMPARE(volume->format, DiscVolume::Format::Joliet);
        IsoFileSystem fs(*reader, *volume);
        const QMap<QString, DirEntry> listing = listingOf(fs);
        const QMap<QString, TreeEntry> expected = treeOf(tree);
        QCOMPARE(listing.keys(), expected.keys());
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            const DirEntry &entry = listing[it.key()];
            QVERIFY2(entry.isDir == it->isDir, qPrintable(it.key()));
            QVERIFY2(entry.size == it->size, qPrintable(it.key()));
            QVERIFY2(entry.creationTime == it->time, qPrintable(it.key()));
            QVERIFY2(entry.hidden == (it.key() == hidden), qPrintable(it.key()));
        }
    }

private slots:
    void recordFields()
    {
        const auto r = IsoDirectoryRecord::parse(record(name(u"readme.txt;1"_s), 1234, 5678, 0x01), true);
        QVERIFY(r);
        QCOMPARE(r->name, u"readme.txt"_s);
        QCOMPARE(r->extent, 1234u);
        QCOMPARE(r->dataLength, 5678u);
        QVERIFY(r->flags & IsoDirectoryRecord::Existence);
        QVERIFY(!r->isDirectory());
        QCOMPARE(r->kind, IsoDirectoryRecord::Kind::Named);
        QCOMPARE(IsoDirectoryRecord::parse(self(7), true)->kind, IsoDirectoryRecord::Kind::Self);
        QCOMPARE(IsoDirectoryRecord::parse(parentRecord(7), false)->kind, IsoDirectoryRecord::Kind::Parent);
    }

    void namesAsWindowsShowsThem_data()
    {
        QTest::addColumn<QByteArray>("identifier");
        QTest::addColumn<bool>("joliet");
        QTest::addColumn<quint8>("flags");
        QTest::addColumn<QString>("shown");
        QTest::newRow("primary file") << QByteArray("README.TXT;1") << false << quint8(0) << u"README.TXT"_s;
        QTest::newRow("no extension") << QByteArray("LICENSE.;1") << false << quint8(0) << u"LICENSE"_s;
        QTest::newRow("other version") << QByteArray("A.TXT;12") << false << quint8(0) << u"A.TXT"_s;
        QTest::newRow("no version") << QByteArray("A.TXT") << false << quint8(0) << u"A.TXT"_s;
        QTest::newRow("directory keeps all") << QByteArray("DIR.;1") << false << kDir << u"DIR.;1"_s;
        QTest::newRow("joliet chinese") << ucs2(u"青花瓷.mp3;1"_s) << true << quint8(0) << u"青花瓷.mp3"_s;
        QTest::newRow("joliet no version") << ucs2(u"a;b"_s) << true << quint8(0) << u"a;b"_s;
        QTest::newRow("gbk primary") << QByteArray("\xd2\xf4\xc0\xd6.MP3;1") << false << quint8(0) << u"音乐.MP3"_s;
        QTest::newRow("odd bytes") << QByteArray("A\x01/B\\C\x7f;1", 9) << false << quint8(0) << u"A__B_C_"_s;
        QTest::newRow("nul in joliet") << ucs2(u"a"_s) + QByteArray(2, '\0') + ucs2(u"b"_s) << true << quint8(0)
                                       << u"a_b"_s;
        QTest::newRow("odd length") << ucs2(u"ab"_s) + QByteArray(1, 'c') << true << quint8(0) << u"ab"_s;
        QTest::newRow("lone surrogate") << ucs2(u"x"_s) + QByteArray("\xd8\x00", 2) << true << quint8(0)
                                        << u"x\ufffd"_s;
        QTest::newRow("surrogate pair") << QByteArray("\xd8\x3c\xdf\xb5", 4) << true << quint8(0) << u"🎵"_s;
        QTest::newRow("dot") << QByteArray(".") << false << kDir << QString();
        QTest::newRow("dot dot file") << QByteArray("..;1") << false << quint8(0) << QString();
    }

    void namesAsWindowsShowsThem()
    {
        QFETCH(QByteArray, identifier);
        QFETCH(bool, joliet);
        QFETCH(quint8, flags);
        QFETCH(QString, shown);
        const auto r = IsoDirectoryRecord::parse(record(identifier, 30, 1, flags), joliet);
        QVERIFY(r);
        QCOMPARE(r->name, shown);
    }

    void recordingDateWithItsOffset()
    {
        // 2004-03-01 00:00:00 at GMT+8 is 2004-02-29 16:00:00 UTC.
        const QDateTime utc(QDate(2004, 2, 29), QTime(16, 0), Qt::UTC);
        QCOMPARE(IsoDirectoryRecord::fileTimeOf(QByteArray::fromHex("680301000000"
                                                                    "20")),
                 fileTimeOf(utc));
        // GMT-5 (offset -20 quarter hours).
        QCOMPARE(IsoDirectoryRecord::fileTimeOf(QByteArray::fromHex("680301000000"
                                                                    "ec")),
                 fileTimeOf(QDateTime(QDate(2004, 3, 1), QTime(5, 0), Qt::UTC)));
        // An offset outside -12..+13 hours is no offset; the time is GMT.
        QCOMPARE(IsoDirectoryRecord::fileTimeOf(QByteArray::fromHex("680301173b3b"
                                                                    "7f")),
                 fileTimeOf(QDateTime(QDate(2004, 3, 1), QTime(23, 59, 59), Qt::UTC)));
        // No date at all, or fields out of range: 0.
        for (const char *bad : {"00000000000000",
                                "680d01000000"
                                "00",
                                "680230000000"
                                "00",
                                "680301180000"
                                "00",
                                "6803013c0000"
                                "00",
                                "680301003c00"
                                "00",
                                "68030100003c"
                                "00"})
            QCOMPARE(IsoDirectoryRecord::fileTimeOf(QByteArray::fromHex(bad)), quint64(0));
        QCOMPARE(IsoDirectoryRecord::fileTimeOf("\x68\x03"), quint64(0));
        // Years run from 1900 to 2155.
        QCOMPARE(IsoDirectoryRecord::fileTimeOf(QByteArray::fromHex("ff0c1f173b3b"
                                                                    "00")),
                 fileTimeOf(QDateTime(QDate(2155, 12, 31), QTime(23, 59, 59), Qt::UTC)));
    }

    void recordsThatDoNotFit()
    {
        // Shorter than its fixed part, longer than the bytes, a name past its end.
        QVERIFY(!IsoDirectoryRecord::parse(QByteArray(), true));
        QByteArray r = record("A;1", 30, 1);
        QVERIFY(!IsoDirectoryRecord::parse(QByteArrayView(r).first(r.size() - 1), false));
        r[32] = char(200);
        QVERIFY(!IsoDirectoryRecord::parse(r, false));
        r[32] = 0;
        QVERIFY(!IsoDirectoryRecord::parse(r, false));
        r[0] = 33;
        QVERIFY(!IsoDirectoryRecord::parse(r, false));
    }

    void largeFileInSeveralExtents()
    {
        // 5 GiB in two extents (4 GiB less a block, then the rest), between other files.
        const quint8 multi = IsoDirectoryRecord::MultiExtent;
        const auto directory = IsoDirectory::parse(
            sectors({self(20), parentRecord(20), record(name(u"a.txt;1"_s), 30, 7),
                     record(name(u"big.iso;1"_s), 40, 0xFFFFF800u, multi),
                     record(name(u"big.iso;1"_s), 40 + 0x1FFFFF, 0x40000800u), record(name(u"z.txt;1"_s), 50, 9)})
                .first(),
            2048, true);
        QCOMPARE(directory.parentExtent, std::optional<quint32>(20));
        const QList<DirEntry> entries = IsoDirectory::entries(directory.records);
        QCOMPARE(names(entries), (QStringList{u"a.txt"_s, u"big.iso"_s, u"z.txt"_s}));
        QCOMPARE(entries[1].size, Q_INT64_C(5368709120));
        QCOMPARE(QString::number(entries[1].size), u"5368709120"_s);
        QCOMPARE(entries[2].size, 9);

        // A chain that breaks (the last extent missing) ends the file where it breaks.
        const auto broken = IsoDirectory::parse(
            sectors({record(name(u"big.iso;1"_s), 40, 0xFFFFF800u, multi), record(name(u"next.txt;1"_s), 50, 3)})
                .first(),
            2048, true);
        const auto brokenEntries = IsoDirectory::entries(broken.records);
        QCOMPARE(names(brokenEntries), (QStringList{u"big.iso"_s, u"next.txt"_s}));
        QCOMPARE(brokenEntries[0].size, qint64(0xFFFFF800u));
    }

    void flagsOfEntries()
    {
        const auto directory = IsoDirectory::parse(
            sectors({record(name(u"hidden.txt;1"_s), 30, 1, IsoDirectoryRecord::Existence),
                     record(name(u"rsrc;1"_s), 31, 1, IsoDirectoryRecord::Associated), record(name(u"rsrc;1"_s), 32, 2),
                     record(name(u"sub"_s), 33, 2048, kDir | IsoDirectoryRecord::Existence)})
                .first(),
            2048, true);
        const auto entries = IsoDirectory::entries(directory.records);
        // An associated file (a resource fork) is not listed beside its file.
        QCOMPARE(names(entries), (QStringList{u"hidden.txt"_s, u"rsrc"_s, u"sub/"_s}));
        QVERIFY(entries[0].hidden);
        QCOMPARE(entries[1].size, 2);
        QVERIFY(!entries[1].hidden);
        QVERIFY(entries[2].isDir && entries[2].hidden);
        QCOMPARE(entries[2].size, 0);
        QCOMPARE(entries[0].creationTime, fileTimeOf(QDateTime(QDate(2004, 3, 1), QTime(0, 0), Qt::UTC)));
    }

    void recordsStayInTheirBlocks()
    {
        // A record that would cross into the next block ends its block's records.
        const QByteArray crossing = record(name(QString(100, u'c')), 31, 1);
        QByteArray block = record(name(u"one;1"_s), 30, 1);
        QStringList expected{u"one"_s};
        for (int i = 0; 2048 - block.size() >= crossing.size(); ++i) {
            block += record(name(u"f%1;1"_s.arg(i)), 40, 1);
            expected.append(u"f%1"_s.arg(i));
        }
        block += crossing.first(2048 - block.size());
        // A record whose name does not fit is passed over, the next one still read.
        QByteArray second = record(name(u"bad;1"_s), 32, 1);
        second[32] = char(second.size());
        second += record(name(u"two;1"_s), 33, 2);
        second.append(QByteArray(2048 - second.size(), '\0'));
        // A length shorter than any record: the rest of the block is not read.
        QByteArray tiny = QByteArray(1, char(20)) + QByteArray(19, '\0') + record(name(u"unseen;1"_s), 34, 1);
        tiny.append(QByteArray(2048 - tiny.size(), '\0'));
        const QByteArray third = sectors({record(name(u"three;1"_s), 35, 3)}).first();
        const auto directory = IsoDirectory::parse(block + second + tiny + third, 2048, true);
        expected += QStringList{u"two"_s, u"three"_s};
        QCOMPARE(names(IsoDirectory::entries(directory.records)), expected);

        // With 512-byte logical blocks a record may not cross 512 either.
        const QByteArray longer = record(name(QString(110, u'l')), 1, 1);
        QByteArray blocks = longer + longer + record(name(u"x;1"_s), 1, 1);
        QVERIFY(blocks.size() > 512);
        blocks.append(QByteArray(512 - blocks.size() % 512, '\0'));
        blocks += record(name(u"y;1"_s), 1, 1);
        const QString l(110, u'l');
        QCOMPARE(names(IsoDirectory::entries(IsoDirectory::parse(blocks, 512, true).records)),
                 (QStringList{l, l, u"y"_s}));
        QCOMPARE(names(IsoDirectory::entries(IsoDirectory::parse(blocks, 2048, true).records)),
                 (QStringList{l, l, u"x"_s}));
        QCOMPARE(names(IsoDirectory::entries(IsoDirectory::parse(blocks, 0, true).records)),
                 (QStringList{l, l, u"x"_s})); // no block size: 2048
    }

    void pathsAndNamesLeadDown()
    {
        HandMadeDisc disc;
        const quint32 music = 30, rock = 40;
        disc.put(rock, music, {record(name(u"song.mp3;1"_s), 60, 4)});
        disc.put(music, 20, {record(name(u"Rock"_s), rock, 2048, kDir), record(name(u"list.txt;1"_s), 61, 5)});
        disc.volume.rootLength = disc.put(20, 20, {record(name(u"Music"_s), music, 2048, kDir)});
        QCOMPARE(names(disc.list()), QStringList{u"Music/"_s});
        QCOMPARE(names(disc.list({u"Music"_s})), (QStringList{u"Rock/"_s, u"list.txt"_s}));
        QCOMPARE(names(disc.list({u"music"_s, u"ROCK"_s})), QStringList{u"song.mp3"_s}); // case ignored
        QVERIFY(!disc.list({u"Music"_s, u"list.txt"_s}));                                // a file is no directory
        QVERIFY(!disc.list({u"nothing"_s}));
    }

    void damagedDiscs()
    {
        HandMadeDisc disc;
        // Root: a directory listed twice under two names, one that contains itself, one
        // that contains the root, one whose ".." names another directory, one past the
        // end of the disc, and enough files to need a second sector, which is missing.
        const quint32 loop = 30, up = 31, stranger = 32, good = 33;
        disc.put(loop, 20, {record(name(u"again"_s), loop, 2048, kDir), record(name(u"f;1"_s), 70, 1)});
        disc.put(up, 20, {record(name(u"root"_s), 20, 2048, kDir), record(name(u"g;1"_s), 71, 2)});
        disc.put(stranger, loop, {record(name(u"h;1"_s), 72, 3)});
        disc.put(good, 20, {record(name(u"i;1"_s), 73, 4)});
        QList<QByteArray> rootRecords{
            record(name(u"loop"_s), loop, 2048, kDir),         record(name(u"up"_s), up, 2048, kDir),
            record(name(u"stranger"_s), stranger, 2048, kDir), record(name(u"good"_s), good, 2048, kDir),
            record(name(u"same as good"_s), good, 2048, kDir), record(name(u"past the end"_s), 900000, 2048, kDir)};
        for (int i = 0; i < 60; ++i)
            rootRecords.append(record(name(u"file%1;1"_s.arg(i, 2, 10, QChar(u'0'))), 100 + i, quint32(i)));
        disc.volume.rootLength = disc.put(20, 20, rootRecords);
        QVERIFY(disc.reader.sectors.remove(21) == 1); // the root's second sector cannot be read

        const QStringList root = names(disc.list());
        QVERIFY(root.contains(u"file00"_s));
        QVERIFY(!root.contains(u"file59"_s)); // lost with the second sector
        QVERIFY(root.contains(u"good/"_s));
        QVERIFY(!root.contains(u"same as good/"_s));
        QVERIFY(root.contains(u"past the end/"_s));
        QCOMPARE(names(disc.list({u"loop"_s})), QStringList{u"f"_s}); // not itself again
        QVERIFY(!disc.list({u"loop"_s, u"again"_s}));
        QCOMPARE(names(disc.list({u"up"_s})), QStringList{u"g"_s}); // not the root again
        QVERIFY(!disc.list({u"up"_s, u"root"_s}));
        QVERIFY(!disc.list({u"stranger"_s})); // it says it belongs to loop
        disc.put(stranger, stranger, {record(name(u"h;1"_s), 72, 3)});
        QCOMPARE(names(disc.list({u"stranger"_s})), QStringList{u"h"_s}); // as libisofs writes Joliet
        QVERIFY(!disc.list({u"past the end"_s}));
        QVERIFY(!disc.list({u"same as good"_s}));
        QCOMPARE(names(disc.list({u"good"_s})), QStringList{u"i"_s});

        // A walk over all of it ends, and lists each directory once.
        IsoFileSystem fs(disc.reader, disc.volume);
        int listings = 0;
        const QStringList all = walk(fs, {}, listings);
        QCOMPARE(listings, 1 + 5);
        QVERIFY(all.contains(u"stranger/h 3"_s));

        // A root that cannot be read at all, or has no length: nothing.
        disc.volume.rootExtent = 5000;
        QVERIFY(!disc.list());
        disc.volume.rootExtent = 20;
        disc.volume.rootLength = 0;
        QVERIFY(!disc.list());
    }

    void directoriesThatMultiplyAreWalkedOnce()
    {
        // Each level names the next directory twice, and the next one names this one as
        // its parent: without care a walk would list 2^20 paths.
        HandMadeDisc disc;
        constexpr quint32 levels = 20;
        for (quint32 i = 0; i < levels; ++i) {
            const quint32 extent = 20 + i;
            const QList<QByteArray> records = i + 1 < levels
                                                  ? QList<QByteArray>{record(name(u"a"_s), extent + 1, 2048, kDir),
                                                                      record(name(u"b"_s), extent + 1, 2048, kDir)}
                                                  : QList<QByteArray>{};
            disc.put(extent, i == 0 ? extent : extent - 1, records);
        }
        IsoFileSystem fs(disc.reader, disc.volume);
        int listings = 0;
        const QStringList found = walk(fs, {}, listings);
        QCOMPARE(listings, int(levels));
        QCOMPARE(found.size(), int(levels - 1));
    }

    void truncatedImage()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        for (int i = 0; i < 200; ++i)
            images.write(u"music/file with a rather long name number %1.mp3"_s.arg(i), "x");
        const QString image = images.genisoimage(u"t.iso"_s, {u"-J"_s, u"-joliet-long"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        const auto whole = FileSectorReader::openImage(image);
        const auto volume = VolumeDescriptors::readIso9660(*whole);
        QVERIFY(volume);
        IsoFileSystem full(*whole, *volume);
        const auto music = full.list({u"music"_s});
        QVERIFY(music);
        QCOMPARE(music->size(), 201);

        // The copy ends inside the directory "music": what it holds before the cut is listed.
        QFile source(image);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray bytes = source.readAll();
        qsizetype cut = bytes.indexOf(ucs2(u"file with a rather long name number 150.mp3"_s));
        QVERIFY(cut > 0);
        cut -= cut % 2048;
        QFile truncated(images.path(u"cut.iso"_s));
        QVERIFY(truncated.open(QIODevice::WriteOnly));
        truncated.write(bytes.first(cut));
        truncated.close();
        const auto reader = FileSectorReader::openImage(truncated.fileName());
        IsoFileSystem cutFs(*reader, *volume);
        const auto partial = cutFs.list({u"music"_s});
        QVERIFY(partial);
        QVERIFY(partial->size() > 10 && partial->size() < 201);
        QCOMPARE(names(cutFs.list({})), names(full.list({})));
    }

    void genisoimageListingEqualsItsTree()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        makeTree(images);
        const QString image = images.genisoimage(
            u"j.iso"_s, {u"-J"_s, u"-joliet-long"_s, u"-R"_s, u"-V"_s, u"中文卷标"_s, u"-hidden"_s, u"secret.txt"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        compareWithTree(image, images.path(u"tree"_s), u"secret.txt"_s);
    }

    void xorrisoListingEqualsItsTree()
    {
        REQUIRE_TOOL("xorriso");
        IsoImages images;
        makeTree(images);
        const QString image = images.xorriso(u"x.iso"_s, u"LABEL"_s);
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        compareWithTree(image, images.path(u"tree"_s), QString());
    }

    void midnightShowsAsADate()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        QVERIFY(setModified(images.path(u"tree/readme.txt"_s), QDateTime(QDate(2004, 3, 1), QTime(0, 0))));
        QVERIFY(setModified(images.path(u"tree/boot.img"_s), QDateTime(QDate(2004, 3, 1), QTime(0, 0, 1))));
        const QString image = images.genisoimage(u"m.iso"_s, {u"-J"_s});
        QVERIFY(!image.isEmpty());
        const auto reader = FileSectorReader::openImage(image);
        IsoFileSystem fs(*reader, *VolumeDescriptors::readIso9660(*reader));
        const auto listing = listingOf(fs);
        QCOMPARE(DateText::fromDateTime(FileTimeToDateTime(listing[u"readme.txt"_s].creationTime)), u"2004-03-01"_s);
        QCOMPARE(DateText::fromDateTime(FileTimeToDateTime(listing[u"boot.img"_s].creationTime)),
                 u"2004-03-01 00:00:01"_s);
    }

    void primaryNamesWithoutJoliet()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        images.write(u"LICENSE"_s, "text");
        images.write(u"music/Second Song.mp3"_s, "abcd");
        const QString image = images.genisoimage(u"p.iso"_s, {u"-hidden"_s, u"readme.txt"_s});
        QVERIFY(!image.isEmpty());
        const auto reader = FileSectorReader::openImage(image);
        const auto volume = VolumeDescriptors::readIso9660(*reader);
        QCOMPARE(volume->format, DiscVolume::Format::Iso9660);
        IsoFileSystem fs(*reader, *volume);
        const auto listing = listingOf(fs);
        QCOMPARE(listing.keys(), (QStringList{u"BOOT.IMG"_s, u"LICENSE"_s, u"MUSIC"_s, u"MUSIC/A.MP3"_s,
                                              u"MUSIC/SECOND_S.MP3"_s, u"README.TXT"_s}));
        QCOMPARE(listing[u"MUSIC/SECOND_S.MP3"_s].size, 4);
        QCOMPARE(listing[u"BOOT.IMG"_s].size, 2048);
        QVERIFY(listing[u"README.TXT"_s].hidden);
        QVERIFY(!listing[u"LICENSE"_s].hidden);
    }
};

QTEST_GUILESS_MAIN(TestIsoDirectory)
#include "tst_isodirectory.moc"
