// bench-archives DATA_DIR
// A tree of 200 archives (zip, 7z, tar.gz, tar.xz and zips holding a zip; 100,000 members,
// Chinese and English names) and 10,000 plain files: every member listed through
// quillon-probe beside `bsdtar -tf` over the same archives, and the scan of the tree with
// the files inside archives and without.
#include "BenchSupport.h"
#include "drives/platform/Platform.h"
#include "import/ArchiveProbe.h"
#include "import/ScanFiles.h"
#include "store/FileRowModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

// Python writes the members from memory (no 100,000 files on disk); 7z packs one folder
// of 500 files forty times.
const QString kMaker = uR"(import io, os, sys, tarfile, zipfile, subprocess, shutil
root = sys.argv[1]
os.makedirs(root + '/plain', exist_ok=True)
def name(a, i):
    return ('照片%d/夏天 %04d.jpg' if i % 2 else 'docs%d/report-%04d.txt') % (a, i)
def members(a):
    return [(name(a, i), b'x' * (i % 50)) for i in range(500)]
def zipped(a):
    data = io.BytesIO()
    with zipfile.ZipFile(data, 'w', zipfile.ZIP_DEFLATED) as z:
        for n, b in members(a): z.writestr(n, b)
    return data.getvalue()
def tarred(path, mode, a):
    with tarfile.open(path, mode) as t:
        for n, b in members(a):
            info = tarfile.TarInfo(n); info.size = len(b); t.addfile(info, io.BytesIO(b))
seven = root + '/7zsource'
for i in range(500):
    os.makedirs(os.path.dirname(seven + '/' + name(0, i)), exist_ok=True)
    open(seven + '/' + name(0, i), 'wb').write(b'x' * (i % 50))
for a in range(40):
    open('%s/备份 %02d.zip' % (root, a), 'wb').write(zipped(a))
    tarred('%s/backup %02d.tar.gz' % (root, a), 'w:gz', a)
    tarred('%s/backup %02d.tar.xz' % (root, a), 'w:xz', a)
    with zipfile.ZipFile('%s/nested %02d.zip' % (root, a), 'w') as z:
        z.writestr('inner %02d.zip' % a, zipped(a))
    subprocess.run(['7z', 'a', '-bd', '-bso0', '%s/压缩 %02d.7z' % (root, a), '.'], cwd=seven, check=True)
shutil.rmtree(seven)
for i in range(10000):
    open('%s/plain/file %05d.jpg' % (root, i), 'wb').close()
open(root + '/complete', 'w').close()
)"_s;

QStringList archivesOf(const QString &root)
{
    QStringList found;
    for (QDirIterator it(root, {u"*.zip"_s, u"*.7z"_s, u"*.tar.gz"_s, u"*.tar.xz"_s}, QDir::Files); it.hasNext();)
        found << it.next();
    found.sort();
    return found;
}

double timeProbe(const QStringList &archives, qint64 &members)
{
    QElapsedTimer timer;
    timer.start();
    ArchiveProbe probe;
    members = 0;
    for (const QString &archive : archives)
        members += probe.list(QFile::encodeName(archive), QFileInfo(archive).fileName()).members.size();
    return double(timer.nsecsElapsed()) / 1e9;
}

double timeBsdtar(const QStringList &archives)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &archive : archives) {
        QProcess bsdtar;
        bsdtar.start(u"bsdtar"_s, {u"-tf"_s, archive});
        bsdtar.waitForFinished(-1);
        bsdtar.readAllStandardOutput();
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

double timeScan(const QString &letterPath, ArchiveProbe &probe, bool withArchives, int &rows)
{
    FileRowModel model;
    const bool scanning = true;
    ArchiveScan archives(probe);
    QElapsedTimer timer;
    timer.start();
    ScanFiles(letterPath, {u"*.jpg"_s, u"*.txt"_s}, model, scanning, nullptr, ScanTime::Created,
              withArchives ? &archives : nullptr);
    rows = model.rowCount();
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString root = (argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/quillon-bench"_s) + u"/archives"_s;
    if (!QFile::exists(root + u"/complete"_s)) {
        QDir(root).removeRecursively();
        QDir().mkpath(root);
        if (QProcess::execute(u"python3"_s, {u"-c"_s, kMaker, root}) != 0)
            return 1;
    }
    const QStringList archives = archivesOf(root);
    qint64 members = 0;
    timeProbe(archives, members); // both warmed once
    timeBsdtar(archives);
    bench::resetPeak();
    const double probe = timeProbe(archives, members);
    const double bsdtar = timeBsdtar(archives);
    bench::report(u"listing %1 archives through quillon-probe (%2 members)"_s.arg(archives.size()).arg(members), probe,
                  u"s"_s, u"<= 1.2 x bsdtar"_s);
    bench::report(u"  bsdtar -tf on each of the same archives"_s, bsdtar, u"s"_s, u"ratio %1"_s.arg(probe / bsdtar, 0, 'f', 2));

    const auto location = Platform::instance().locate(root);
    if (!location)
        return 0;
    QString letterPath = QString(QChar(char16_t(location->letter))) + u":\\"_s + location->relativePath;
    letterPath.replace(u'/', u'\\');
    int rows = 0;
    ArchiveProbe scanProbe;
    timeScan(letterPath, scanProbe, false, rows);
    const double off = timeScan(letterPath, scanProbe, false, rows);
    bench::report(u"scan of the tree without archives (%1 rows)"_s.arg(rows), off, u"s"_s);
    bench::resetPeak();
    const double on = timeScan(letterPath, scanProbe, true, rows);
    bench::report(u"scan of the tree with the files inside archives (%1 rows)"_s.arg(rows), on, u"s"_s);
    bench::report(u"  peak memory of the scan with archives"_s, double(bench::peakResidentBytes()) / 1048576.0,
                  u"MiB"_s);
    return 0;
}
