// bench-checksums DIR
// Hashes 2 GiB of files (four of 384 MiB, 8,192 of 64 KiB) in DIR/files (written once) as an
// import with 计算校验值 does, through the platform's reading and the reader threads, beside
// `openssl dgst -sha256` over the same files: warm (the files read once before) and, where
// the page cache can be dropped (root), cold. Also the longest time between two runs of the
// event loop while the files are read.
#include "BenchSupport.h"
#include "import/RowChecksums.h"
#include "import/ScanFiles.h"
#include "drives/platform/Platform.h"
#include "store/FileRowModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kLarge = qint64(384) << 20;
constexpr int kLargeFiles = 4;
constexpr qint64 kSmall = qint64(64) << 10;
constexpr int kSmallFiles = 8192;

void writeFile(const QString &path, qint64 size, quint32 seed)
{
    QFile file(path);
    if (file.exists() && file.size() == size)
        return;
    file.open(QIODevice::WriteOnly);
    QRandomGenerator random(seed);
    QByteArray block(qsizetype(std::min<qint64>(size, 1 << 20)), Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= block.size()) {
        random.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        file.write(block.constData(), std::min<qint64>(left, block.size()));
    }
}

QStringList writeFiles(const QString &dir)
{
    QStringList files;
    QDir().mkpath(dir + u"/small"_s);
    for (int i = 0; i < kLargeFiles; ++i)
        files << dir + u"/large-%1.bin"_s.arg(i);
    for (int i = 0; i < kSmallFiles; ++i)
        files << dir + u"/small/%1.bin"_s.arg(i, 5, 10, QChar(u'0'));
    for (int i = 0; i < files.size(); ++i)
        writeFile(files[i], i < kLargeFiles ? kLarge : kSmall, quint32(i + 1));
    return files;
}

double openssl(const QStringList &files)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(u"openssl"_s, QStringList{u"dgst"_s, u"-sha256"_s} + files);
    process.waitForFinished(-1);
    return double(timer.elapsed()) / 1000.0;
}

struct Ours {
    double seconds = 0;
    qint64 longestGapMs = 0;
};

Ours ours(const QString &dir)
{
    const std::optional<DriveLocation> where = Platform::instance().locate(dir);
    const QString root = QString(QChar(char16_t(where->letter))) + u":\\"_s +
                         QString(where->relativePath).replace(u'/', u'\\');
    FileRowModel rows;
    const bool scanning = true;
    ScanFiles(root, {u"*.*"_s}, rows, scanning, nullptr);
    ImportChecksums outcome{true};
    QElapsedTimer timer, gap;
    timer.start();
    gap.start();
    Ours result;
    RowChecksums::compute(
        where->letter, rows,
        [&](const QString &) {
            result.longestGapMs = std::max(result.longestGapMs, gap.restart());
        },
        [] { return false; }, outcome);
    result.seconds = double(timer.elapsed()) / 1000.0;
    return result;
}

bool dropCaches()
{
    ::sync();
    QFile drop(u"/proc/sys/vm/drop_caches"_s);
    return drop.open(QIODevice::WriteOnly) && drop.write("3\n") == 2 && drop.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString dir = QDir(QString::fromLocal8Bit(argv[1])).absoluteFilePath(u"files"_s);
    const QStringList files = writeFiles(dir);
    const double mb = double(kLarge * kLargeFiles + kSmall * kSmallFiles) / 1048576.0;
    openssl(files); // the files in the page cache
    const double theirs = openssl(files);
    const Ours mine = ours(dir);
    bench::report(u"checksums 2 GiB warm: openssl dgst -sha256"_s, mb / theirs, u"MB/s"_s);
    bench::report(u"checksums 2 GiB warm: import"_s, mb / mine.seconds, u"MB/s"_s,
                  u">= %1 (0.95x)"_s.arg(0.95 * mb / theirs, 0, 'f', 0));
    bench::report(u"checksums: longest time without events"_s, double(mine.longestGapMs), u"ms"_s, u"<= 100"_s);
    if (dropCaches()) {
        const double coldTheirs = openssl(files);
        dropCaches();
        const Ours coldMine = ours(dir);
        bench::report(u"checksums 2 GiB cold: openssl dgst -sha256"_s, mb / coldTheirs, u"MB/s"_s);
        bench::report(u"checksums 2 GiB cold: import"_s, mb / coldMine.seconds, u"MB/s"_s);
    } else {
        bench::report(u"checksums 2 GiB cold: not measured (the page cache cannot be dropped here)"_s, 0, u"-"_s);
    }
    return 0;
}
