// The archives' members as the import lists them: archives made here by the real tools,
// listed by quillon-probe through ArchiveProbe.
#include "FakePlatform.h"
#include "RecordingProgress.h"
#include "TestSession.h"
#include "drives/platform/PlatformOverride.h"
#include "import/ArchiveProbe.h"
#include "import/DiscImport.h"
#include "import/ScanFiles.h"
#include "store/Catalogue.h"
#include "store/FileRowModel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "folder\name size" for each member, in the order listed.
QStringList described(const ArchiveListing &listing)
{
    QStringList lines;
    for (const ArchiveMember &member : listing.members)
        lines << member.folder + member.name + u' ' + QString::number(member.size);
    return lines;
}

} // namespace

class TestArchives : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void listsEveryFormat_data();
    void listsEveryFormat();
    void nestedArchivesDownToThreeLevels();
    void unreadableArchivesListNothing();
    void namesAreDecodedAndKeptInsideTheArchive();
    void aHungProbeCostsOneArchive();
    void folderImportStoresMembersMarked();

private:
    // Runs a tool in the work folder; the test fails when it does.
    void run(const QString &program, const QStringList &arguments);
    void write(const QString &name, const QByteArray &bytes);
    ArchiveListing list(const QString &name);
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    ArchiveProbe m_probe;
};

void TestArchives::run(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.setWorkingDirectory(m_dir.path());
    tool.start(program, arguments);
    QVERIFY2(tool.waitForFinished(60000) && tool.exitCode() == 0,
             qPrintable(program + u": "_s + QString::fromLocal8Bit(tool.readAllStandardError())));
}

void TestArchives::write(const QString &name, const QByteArray &bytes)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

ArchiveListing TestArchives::list(const QString &name)
{
    return m_probe.list(QFile::encodeName(path(name)), QFileInfo(name).fileName());
}

void TestArchives::initTestCase()
{
    for (const QString &tool : {u"zip"_s, u"7z"_s, u"tar"_s, u"gzip"_s, u"xz"_s, u"zstd"_s, u"python3"_s})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(tool + u" is not installed (scripts/setup.sh installs it)"_s));
    QDir(m_dir.path()).mkpath(u"tree/夏天"_s);
    write(u"tree/夏天/IMG_0412.JPG"_s, QByteArray(1000, 'j'));
    write(u"tree/readme.txt"_s, "hello\n");
    run(u"zip"_s, {u"-qr"_s, u"photos.zip"_s, u"tree"_s});
    run(u"tar"_s, {u"-czf"_s, u"photos.tar.gz"_s, u"tree"_s});
    run(u"tar"_s, {u"-cJf"_s, u"photos.tar.xz"_s, u"tree"_s});
    run(u"tar"_s, {u"--zstd"_s, u"-cf"_s, u"photos.tar.zst"_s, u"tree"_s});
    run(u"7z"_s, {u"a"_s, u"-bd"_s, u"photos.7z"_s, u"tree"_s});
    run(u"gzip"_s, {u"-k"_s, u"tree/readme.txt"_s});
}

void TestArchives::listsEveryFormat_data()
{
    QTest::addColumn<QString>("archive");
    QTest::newRow("zip") << u"photos.zip"_s;
    QTest::newRow("tar.gz") << u"photos.tar.gz"_s;
    QTest::newRow("tar.xz") << u"photos.tar.xz"_s;
    QTest::newRow("tar.zst") << u"photos.tar.zst"_s;
    QTest::newRow("7z") << u"photos.7z"_s;
}

void TestArchives::listsEveryFormat()
{
    QFETCH(QString, archive);
    const ArchiveListing listing = list(archive);
    QVERIFY2(listing.readable, qPrintable(listing.problem));
    QStringList lines = described(listing);
    lines.sort();
    QCOMPARE(lines, QStringList({u"tree\\readme.txt 6"_s, u"tree\\夏天\\IMG_0412.JPG 1000"_s}));
    const QDateTime written = QFileInfo(path(u"tree/readme.txt"_s)).lastModified();
    for (const ArchiveMember &member : listing.members)
        QVERIFY(member.time && qAbs(*member.time - written.toSecsSinceEpoch()) <= 2);

    const ArchiveListing single = list(u"tree/readme.txt.gz"_s);
    QVERIFY(single.readable);
    QCOMPARE(described(single), QStringList{u"readme.txt 6"_s});
}

void TestArchives::nestedArchivesDownToThreeLevels()
{
    // zip → 7z → zip → zip: the fourth level stays a member and is not opened; an archive
    // that holds itself ends there as well.
    run(u"zip"_s, {u"-q"_s, u"level4.zip"_s, u"tree/readme.txt"_s});
    run(u"zip"_s, {u"-q"_s, u"level3.zip"_s, u"level4.zip"_s});
    run(u"7z"_s, {u"a"_s, u"-bd"_s, u"level2.7z"_s, u"level3.zip"_s});
    run(u"zip"_s, {u"-q"_s, u"level1.zip"_s, u"level2.7z"_s, u"photos.tar.gz"_s});
    const ArchiveListing listing = list(u"level1.zip"_s);
    QVERIFY2(listing.readable, qPrintable(listing.problem));
    QStringList lines = described(listing);
    lines.sort();
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines.contains(u"level2.7z\\level3.zip\\level4.zip "_s +
                           QString::number(QFileInfo(path(u"level4.zip"_s)).size())));
    QVERIFY(lines.contains(u"photos.tar.gz\\tree\\夏天\\IMG_0412.JPG 1000"_s));
    QVERIFY(!lines.join(u'|').contains(u"level4.zip\\"_s));
}

void TestArchives::unreadableArchivesListNothing()
{
    QFile whole(path(u"photos.zip"_s));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    write(u"truncated.zip"_s, bytes.left(80)); // within the first member's data
    QByteArray corrupt = bytes;
    corrupt.replace(corrupt.size() - 200, 100, QByteArray(100, '\xFF'));
    write(u"corrupt.zip"_s, corrupt);
    write(u"notanarchive.zip"_s, "just some text, long enough to be looked at by every format\n");
    write(u"empty.tar"_s, {});
    run(u"7z"_s, {u"a"_s, u"-bd"_s, u"-psecret"_s, u"-mhe=on"_s, u"hidden.7z"_s, u"tree"_s});
    for (const QString &name :
         {u"truncated.zip"_s, u"corrupt.zip"_s, u"notanarchive.zip"_s, u"empty.tar"_s, u"hidden.7z"_s}) {
        const ArchiveListing listing = list(name);
        QVERIFY2(!listing.readable, qPrintable(name));
        QVERIFY(listing.members.isEmpty());
    }
    // Encrypted data with readable names still lists its members, no password asked.
    run(u"zip"_s, {u"-qr"_s, u"-P"_s, u"secret"_s, u"locked.zip"_s, u"tree/夏天"_s});
    QCOMPARE(described(list(u"locked.zip"_s)), QStringList{u"tree\\夏天\\IMG_0412.JPG 1000"_s});
}

void TestArchives::namesAreDecodedAndKeptInsideTheArchive()
{
    // Python's zipfile writes the placeholders; their bytes become code page 936 names
    // (as Chinese Windows writes them, without the UTF-8 flag) and names that try to climb.
    // libarchive reads a zip's backslash as a folder's end, as Windows programs write it.
    run(u"python3"_s, {u"-c"_s, uR"(import zipfile
z = zipfile.ZipFile('names.zip', 'w')
for name in ['YYYY/XXXX.txt', '../../etc/passwd', '/abs/C:x.txt', 'a\\b.txt', 'ctl\x01.txt']:
    z.writestr(name, 'x')
z.close()
data = open('names.zip', 'rb').read()
data = data.replace(b'YYYY', '夏天'.encode('gbk')).replace(b'XXXX', '照片'.encode('gbk'))
open('names.zip', 'wb').write(data)
)"_s});
    const ArchiveListing listing = list(u"names.zip"_s);
    QVERIFY2(listing.readable, qPrintable(listing.problem));
    QCOMPARE(described(listing), QStringList({u"夏天\\照片.txt 1"_s, u"%2E%2E\\%2E%2E\\etc\\passwd 1"_s,
                                              u"abs\\C%3Ax.txt 1"_s, u"a\\b.txt 1"_s, u"ctl%01.txt 1"_s}));
}

void TestArchives::aHungProbeCostsOneArchive()
{
    run(u"sh"_s, {u"-c"_s, u"printf '#!/bin/sh\\nexec sleep 60\\n' > hang.sh && chmod +x hang.sh"_s});
    int idles = 0;
    ArchiveProbe probe(std::chrono::milliseconds(500));
    const auto counting = [&] { return ++idles > 0; };
    qputenv("QUILLON_PROBE", path(u"hang.sh"_s).toLocal8Bit());
    const ArchiveListing hung = probe.list(QFile::encodeName(path(u"photos.zip"_s)), u"photos.zip"_s, counting);
    qunsetenv("QUILLON_PROBE");
    QVERIFY(!hung.readable);
    QVERIFY(idles >= 3);
    QVERIFY(probe.list(QFile::encodeName(path(u"photos.zip"_s)), u"photos.zip"_s).readable);
}

void TestArchives::folderImportStoresMembersMarked()
{
    FakePlatform platform;
    const PlatformOverride override(platform);
    const QString root = platform.addDrive('e').root;
    QVERIFY(QDir().mkpath(root + u"/备份"_s));
    for (const QString &name : {u"photos.zip"_s, u"truncated.zip"_s, u"level1.zip"_s})
        QVERIFY(QFile::copy(path(name), root + u"/备份/"_s + name));
    QVERIFY(QFile::copy(path(u"tree/readme.txt"_s), root + u"/备份/IMG_0001.JPG"_s));
    const auto scanned = [&](const QStringList &masks, ArchiveScan *archives) {
        FileRowModel rows;
        const bool scanning = true;
        ScanFiles(u"e:\\"_s, masks, rows, scanning, nullptr, ScanTime::Modified, archives);
        QStringList lines;
        for (const FileRow &row : rows.rows())
            lines << row.sub[FileRow::ScanStoredFolder - 1] + row.caption + (row.archiveMember ? u" *"_s : u""_s);
        return lines;
    };
    // Off: today's rows. On: the members that match after the folder's own files, the
    // archive itself where its name matches; the truncated one is counted, not opened.
    QCOMPARE(scanned({u"*.jpg"_s}, nullptr), QStringList{u"\\备份\\IMG_0001.JPG"_s});
    ArchiveScan archives{m_probe};
    QStringList lines = scanned({u"*.jpg"_s, u"photos.*"_s}, &archives);
    QCOMPARE(lines.mid(0, 2), QStringList({u"\\备份\\IMG_0001.JPG"_s, u"\\备份\\photos.zip"_s}));
    lines.sort(); // the archives come in the order the folder lists them
    QCOMPARE(lines.mid(1), QStringList({u"\\备份\\level1.zip\\photos.tar.gz *"_s,
                                        u"\\备份\\level1.zip\\photos.tar.gz\\tree\\夏天\\IMG_0412.JPG *"_s,
                                        u"\\备份\\photos.zip"_s,
                                        u"\\备份\\photos.zip\\tree\\夏天\\IMG_0412.JPG *"_s}));
    QCOMPARE(archives.listed, 2);
    QCOMPARE(archives.unreadable.size(), 1);
    QVERIFY(archives.unreadable.first().startsWith(u"e:\\备份\\truncated.zip: "_s));

    TestSession session;
    RecordingProgress progress;
    ArchiveScan stored{m_probe};
    QCOMPARE(DiscImport::run(session.dm, session.comm, 'e', u"e:\\"_s, {u"*.jpg"_s}, u"备份盘"_s, progress,
                             {.time = ScanTime::Modified, .archives = &stored}),
             DiscImport::Result::Stored);
    QStringList marked;
    Catalogue &catalogue = session.dm.catalogue();
    const std::vector<qint64> keys = catalogue.fileKeysOfDisc(catalogue.discNamed(u"备份盘"_s)->code);
    catalogue.readFiles(keys, [&](size_t i, const FileRecord &file) {
        marked << file.folder + file.name + (catalogue.isArchiveMember(keys[i]) ? u" *"_s : u""_s);
    });
    marked.sort();
    QCOMPARE(marked, QStringList({u"\\备份\\IMG_0001.JPG"_s,
                                  u"\\备份\\level1.zip\\photos.tar.gz\\tree\\夏天\\IMG_0412.JPG *"_s,
                                  u"\\备份\\photos.zip\\tree\\夏天\\IMG_0412.JPG *"_s}));
    // The marks go with their records.
    QSqlQuery remove(QSqlDatabase::database(session.dm.aConQl.connectionName()));
    QVERIFY(remove.exec(u"delete from CdRomListMt"_s));
    QVERIFY(!catalogue.isArchiveMember(2) && !catalogue.isArchiveMember(3));
}

QTEST_GUILESS_MAIN(TestArchives)
#include "tst_archives.moc"
