// Walking a drive or folder into file rows.
#include "FakePlatform.h"
#include "RecordingProgress.h"
#include "drives/platform/PlatformOverride.h"
#include "import/ScanFiles.h"
#include "store/FileRowModel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Makes the directories of names one inside the other below dir, each opened from its parent
// (a path this long cannot be given to the system), with an empty file name + ".mp3" in each.
bool makeChain(const QString &dir, const QList<QByteArray> &names)
{
    int fd = open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool made = fd >= 0;
    for (const QByteArray &name : names) {
        made = made && mkdirat(fd, name.constData(), 0755) == 0;
        const int child = made ? openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
        close(fd);
        fd = child;
        made = made && fd >= 0;
        const int file = made ? openat(fd, (name + ".mp3").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644) : -1;
        made = made && file >= 0 && close(file) == 0;
    }
    if (fd >= 0)
        close(fd);
    return made;
}

// The file time of a local date and time.
quint64 fileTime(const QDateTime &local)
{
    const qint64 unixSeconds = local.toSecsSinceEpoch();
    return quint64(unixSeconds + 11644473600LL) * 10000000ULL;
}

} // namespace

class TestScanFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<PlatformOverride> m_override;
    QString m_root;

    void file(const QString &relative, qint64 size = 1)
    {
        const QString path = m_root + u'/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.resize(size);
    }
    void dir(const QString &relative) { QVERIFY(QDir().mkpath(m_root + u'/' + relative)); }

    QStringList scan(const QString &path, const QStringList &masks, bool scanning = true,
                     ScanSkipped *skipped = nullptr)
    {
        FileRowModel rows;
        const ScanSkipped passedOver = ScanFiles(path, masks, rows, scanning, nullptr);
        if (skipped)
            *skipped = passedOver;
        QStringList out;
        for (const FileRow &row : rows.rows())
            out << row.sub[2] + row.caption;
        return out;
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_override = std::make_unique<PlatformOverride>(*m_platform);
        m_root = m_platform->addDrive('e', DriveTypes::CdRom).root;
    }

    void cleanup()
    {
        m_override.reset();
        m_platform.reset();
    }

    void subdirectoriesFirstThenFilesByMask()
    {
        file(u"a.mp3"_s);
        file(u"sub/b.mp3"_s);
        file(u"c.wav"_s);
        QCOMPARE(scan(u"e:\\"_s, {u"*.mp3"_s}), (QStringList{u"e:\\sub\\b.mp3"_s, u"e:\\a.mp3"_s}));
        // The letter keeps the case the caller gave it.
        QCOMPARE(scan(u"E:\\"_s, {u"*.mp3"_s}).last(), u"E:\\a.mp3"_s);
        // Mask by mask: the wav of the root comes after its mp3.
        QCOMPARE(scan(u"e:\\"_s, {u"*.mp3"_s, u"*.WAV"_s}),
                 (QStringList{u"e:\\sub\\b.mp3"_s, u"e:\\a.mp3"_s, u"e:\\c.wav"_s}));
        // A file matching two masks is listed twice.
        QCOMPARE(scan(u"e:\\"_s, {u"*.mp3"_s, u"*.*"_s}).count(u"e:\\a.mp3"_s), 2);
        QVERIFY(scan(u"e:\\"_s, {}).isEmpty());
        QVERIFY(scan(u"e:\\"_s, {u"*.*"_s}, false).isEmpty());
    }

    void rootWithoutBackslash()
    {
        file(u"data/x.mp3"_s);
        file(u"data/deep/y.mp3"_s);
        const QStringList expected{u"e:\\data\\deep\\y.mp3"_s, u"e:\\data\\x.mp3"_s};
        QCOMPARE(scan(u"e:\\data"_s, {u"*.mp3"_s}), expected);
        QCOMPARE(scan(u"e:\\data\\"_s, {u"*.mp3"_s}), expected);
    }

    void windowsWildcards()
    {
        for (const QString &name : {u"ab.txt"_s, u"abcd.txt"_s, u"abcde.txt"_s, u"noext"_s, u"Song.MP3"_s,
                                    u"a[1].mp3"_s, u"x.tar.gz"_s})
            file(name);
        auto names = [&](const QString &mask) {
            QStringList out = scan(u"e:\\"_s, {mask});
            for (QString &n : out)
                n = n.mid(3);
            out.sort();
            return out;
        };
        QCOMPARE(names(u"????.txt"_s), (QStringList{u"ab.txt"_s, u"abcd.txt"_s}));
        QCOMPARE(names(u"*."_s), QStringList{u"noext"_s});
        QCOMPARE(names(u"*.mp3"_s), (QStringList{u"Song.MP3"_s, u"a[1].mp3"_s}));
        QCOMPARE(names(u"a[1].*"_s), QStringList{u"a[1].mp3"_s});
        QCOMPARE(names(u"*.gz"_s), QStringList{u"x.tar.gz"_s});
        QCOMPARE(names(u"*"_s).size(), 7);
        QCOMPARE(names(u"*.*"_s).size(), 7);
    }

    void hiddenDirectoriesAreNotEntered()
    {
        file(u".hidden/inside.mp3"_s);
        file(u".shown.mp3"_s);
        dir(u"folder.mp3"_s);
        file(u"folder.mp3/real.mp3"_s);
        QCOMPARE(scan(u"e:\\"_s, {u"*.mp3"_s}),
                 (QStringList{u"e:\\folder.mp3\\real.mp3"_s, u"e:\\.shown.mp3"_s}));
    }

    void linksUnreadableAndBigFiles()
    {
        file(u"loop/a.mp3"_s);
        QVERIFY(QFile::link(m_root + u"/loop"_s, m_root + u"/loop/again"_s));
        QVERIFY(QFile::link(m_root + u"/loop/a.mp3"_s, m_root + u"/link.mp3"_s));
        file(u"locked/secret.mp3"_s);
        m_platform->setUnreadable('e', u"locked"_s);
        file(u"huge.mp3"_s, 5368709120LL); // sparse: takes no room
        FileRowModel rows;
        const ScanSkipped skipped = ScanFiles(u"e:\\"_s, {u"*.mp3"_s}, rows, true, nullptr);
        QStringList names;
        for (const FileRow &row : rows.rows())
            names << row.sub[2] + row.caption;
        names.sort();
        QCOMPARE(names, (QStringList{u"e:\\huge.mp3"_s, u"e:\\link.mp3"_s, u"e:\\loop\\a.mp3"_s}));
        // The folder that could not be read is counted; the links left out are not.
        QCOMPARE(skipped.folders, 1);
        QCOMPARE(skipped.files, 0);
        for (const FileRow &row : rows.rows())
            if (row.caption == u"huge.mp3"_s)
                QCOMPARE(row.sub[0], u"5368709120"_s);
    }

    void creationTimesAsDateText()
    {
        file(u"midnight.mp3"_s);
        file(u"later.mp3"_s);
        const QDateTime midnight(QDate(2004, 3, 1), QTime(0, 0));
        m_platform->setCreationTime('e', u"midnight.mp3"_s, fileTime(midnight));
        m_platform->setCreationTime('e', u"later.mp3"_s, fileTime(midnight.addSecs(1)));
        FileRowModel rows;
        ScanFiles(u"e:\\"_s, {u"m*.mp3"_s, u"l*.mp3"_s}, rows, true, nullptr);
        QCOMPARE(rows.rowCount(), 2);
        QCOMPARE(rows.row(0).sub[1], u"2004-03-01"_s);
        QCOMPARE(rows.row(1).sub[1], u"2004-03-01 00:00:01"_s);
        QCOMPARE(rows.row(0).sub[0], u"1"_s);

        // The last-write time instead, when asked for: a photo copied today keeps its day.
        QFile later(m_root + u"/later.mp3"_s);
        QVERIFY(later.open(QIODevice::ReadWrite));
        QVERIFY(
            later.setFileTime(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)), QFileDevice::FileModificationTime));
        later.close();
        FileRowModel modified;
        ScanFiles(u"e:\\"_s, {u"l*.mp3"_s}, modified, true, nullptr, ScanTime::Modified);
        QCOMPARE(modified.row(0).sub[1], u"1999-12-31 23:59:58"_s);
    }

    void stopsAtTheNextDirectory()
    {
        for (int i = 0; i < 5; ++i)
            file(u"d%1/x.mp3"_s.arg(i));
        file(u"top.mp3"_s);
        RecordingProgress progress;
        FileRowModel rows;
        bool scanning = true;
        QObject::connect(&rows, &QAbstractItemModel::rowsInserted, [&] { progress.stop = true; });
        ScanFiles(u"e:\\"_s, {u"*.mp3"_s}, rows, scanning, &progress);
        // The first directory's row came, then the walk ended; the root's own files too.
        QCOMPARE(rows.rowCount(), 1);
    }

    // Names that are not UTF-8 are walked by their bytes and kept readable; a tree far
    // deeper than the system's path limit is walked whole, down to the scan's depth.
    void foreignNamesAndDeepTrees()
    {
        const QByteArray gbk = "\xC4\xE3\xBA\xC3"; // 你好 as Chinese Windows writes it
        QVERIFY(makeChain(m_root, {gbk, "caf\xE9"}));
        QVERIFY(makeChain(m_root, {"bad\xFF"}));
        ScanSkipped skipped;
        QStringList rows = scan(u"e:\\"_s, {u"*.mp3"_s}, true, &skipped);
        rows.sort();
        QCOMPARE(rows, (QStringList{u"e:\\bad%FF\\bad%FF.mp3"_s, u"e:\\你好\\caf%E9\\caf%E9.mp3"_s,
                                    u"e:\\你好\\你好.mp3"_s}));
        QVERIFY(!skipped.any());
        // A folder below one that is not UTF-8, started from by its shown name.
        QCOMPARE(scan(u"e:\\你好\\caf%E9"_s, {u"*.mp3"_s}), QStringList{u"e:\\你好\\caf%E9\\caf%E9.mp3"_s});
        QVERIFY(QProcess::execute(u"rm"_s, {u"-rf"_s, m_root}) == 0);
        QVERIFY(QDir().mkpath(m_root));

        // 30 levels of 200 bytes: 6,000 bytes of path.
        QVERIFY(makeChain(m_root, QList<QByteArray>(30, QByteArray(200, 'd'))));
        QCOMPARE(scan(u"e:\\"_s, {u"*.mp3"_s}).size(), 30);
        QVERIFY(QProcess::execute(u"rm"_s, {u"-rf"_s, m_root}) == 0);
        QVERIFY(QDir().mkpath(m_root));

        // Deeper than the scan goes: the levels below are counted as not read.
        QVERIFY(makeChain(m_root, QList<QByteArray>(kScanDepth + 2, "d")));
        QCOMPARE(scan(u"e:\\"_s, {u"*.mp3"_s}, true, &skipped).size(), kScanDepth);
        QCOMPARE(skipped.folders, 1);
        QVERIFY(QProcess::execute(u"rm"_s, {u"-rf"_s, m_root}) == 0);
    }

    void otherDrivesAndBadPaths()
    {
        file(u"a.mp3"_s);
        QVERIFY(scan(u"q:\\"_s, {u"*.mp3"_s}).isEmpty());
        QVERIFY(scan(u"e"_s, {u"*.mp3"_s}).isEmpty());
        QVERIFY(scan(u"e:\\..\\"_s, {u"*.mp3"_s}).isEmpty());
        m_platform->drive('e').ready = false;
        QVERIFY(scan(u"e:\\"_s, {u"*.mp3"_s}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestScanFiles)
#include "tst_scanfiles.moc"
