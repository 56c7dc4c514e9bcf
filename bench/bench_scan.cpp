// bench-scan DATA_DIR
// Scanning a tree of 100,000 files with two masks beside `find`, and storing 100,000 rows
// beside the sqlite3 command inserting the same rows from one SQL file.
#include "BenchSupport.h"
#include "drives/platform/Platform.h"
#include "import/CatalogueWriter.h"
#include "import/ScanFiles.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "store/ProgressSink.h"
#include "store/Schema.h"
#include "store/SearchIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFiles = 100000;

// 100 folders of 10 sub-folders of 99 files each, and a chain 40 folders deep holding
// the rest; Chinese and ASCII names.
void makeTree(const QString &root)
{
    if (QFile::exists(root + u"/complete"_s))
        return;
    QDir(root).removeRecursively();
    int made = 0;
    auto write = [&](const QString &dir) {
        QFile f(dir + u'/' + bench::fileName(quint64(made)));
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(int(made % 7), 'x'));
        ++made;
    };
    for (int a = 0; a < 100; ++a)
        for (int b = 0; b < 10; ++b) {
            const QString dir = root + u"/目录 %1/sub%2"_s.arg(a, 3, 10, QChar(u'0')).arg(b);
            QDir().mkpath(dir);
            for (int i = 0; i < 99; ++i)
                write(dir);
        }
    QString deep = root;
    for (int level = 0; made < kFiles; ++level) {
        deep += u"/层%1"_s.arg(level % 40);
        QDir().mkpath(deep);
        for (int i = 0; i < 25 && made < kFiles; ++i)
            write(deep);
    }
    QFile done(root + u"/complete"_s);
    done.open(QIODevice::WriteOnly);
}

double timeFind(const QString &root)
{
    QProcess find;
    QElapsedTimer timer;
    timer.start();
    find.start(u"find"_s, {root, u"-type"_s, u"f"_s, u"-printf"_s, u"%s %T@ %p\\n"_s});
    while (find.waitForReadyRead(-1))
        find.readAll();
    find.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

double timeScan(const QString &letterPath, int &rows)
{
    FileRowModel model;
    const bool scanning = true;
    QElapsedTimer timer;
    timer.start();
    ScanFiles(letterPath, {u"*.wav"_s, u"*.mp3"_s}, model, scanning, nullptr);
    rows = model.rowCount();
    return timer.nsecsElapsed() / 1e9;
}

// Pumps events as the window does and asks nothing else.
class QuietProgress : public ProgressSink {
public:
    void SetStatusText(const QString &) override {}
    void SetProgressRange(int, int) override {}
    void SetProgressPosition(int) override {}
    void ReportProgress(const QString &, int) override { m_pump.pump(); }
    bool StopRequested() const override { return false; }

private:
    EventPump m_pump;
};

void benchScan(const QString &data)
{
    const QString root = data + u"/tree100k"_s;
    makeTree(root);
    const auto location = Platform::instance().locate(root);
    if (!location)
        return;
    QString letterPath = QString(QChar(char16_t(location->letter))) + u":\\"_s + location->relativePath;
    letterPath.replace(u'/', u'\\');
    int rows = 0;
    timeFind(root);
    timeScan(letterPath, rows); // both warmed once
    const double find = timeFind(root);
    bench::resetPeak();
    const qint64 before = bench::residentBytes();
    const double scan = timeScan(letterPath, rows);
    const double peak = double(bench::peakResidentBytes() - before) / 1048576.0;
    bench::report(u"scan of 100,000 files, masks *.wav *.mp3 (%1 rows)"_s.arg(rows), scan, u"s"_s, u"<= 1.5 x find"_s);
    bench::report(u"  find -type f -printf '%s %T@ %p\\n' on the same tree"_s, find, u"s"_s,
                  u"ratio %1"_s.arg(scan / find, 0, 'f', 2));
    bench::report(u"  peak memory of the scan"_s, peak, u"MiB"_s);
}

// Stores 100,000 rows into a new catalogue (so with the search index) through the
// catalogue writer: the benchmark's short names, or names and folders as long as real ones.
void benchStore(const QString &data, bool realistic)
{
    QTemporaryDir dir(data + u"/store-XXXXXX"_s);
    QDir().mkpath(dir.filePath(u"data"_s));
    CatalogueSchema::create(dir.filePath(u"data/dbQL.mdb"_s), false);
    FileRowModel rows;
    QByteArray sql = "BEGIN;\n";
    for (int i = 0; i < kFiles; ++i) {
        const quint64 n = quint64(i);
        const FileRow row{realistic ? bench::realisticName(n) : bench::fileName(n),
                          {bench::fileSize(n), bench::fileDate(n),
                           u"e:"_s + (realistic ? bench::realisticPath(n) : bench::filePath(n)), QString()}};
        rows.appendRow(row);
        auto quoted = [](QString v) { return u'\'' + v.replace(u'\'', u"''"_s) + u'\''; };
        sql +=
            u"INSERT INTO CdRomListDt (DiskCode, FileName, FileSize, FileData, FilePath) VALUES (1, %1, %2, %3, %4);\n"_s
                .arg(quoted(row.caption), quoted(row.sub[0]), quoted(row.sub[1]), quoted(row.sub[2].mid(2)))
                .toUtf8();
    }
    sql += "COMMIT;\n";
    TLCommFunction comm;
    TLCommBusiness business(comm);
    QuietProgress progress;
    double seconds = 0;
    double indexing = 0;
    double reading = 0;
    double peak = 0;
    {
        TdmQL dm(dir.path(), comm, business);
        comm.ExecSql(*dm.aqryTempFind, u"Insert Into CdRomListMt (DiskName) values (?)"_s, {u"sqlite3"_s});
        bench::resetPeak();
        const qint64 before = bench::residentBytes();
        QElapsedTimer timer;
        timer.start();
        CatalogueWriter::StoreDisc(dm, comm, {u"bench"_s, {}, {}}, rows, progress);
        seconds = timer.nsecsElapsed() / 1e9;
        timer.start();
        const QString connection = dm.aConQl.connectionName();
        while (SearchIndex::progress(connection)->indexedUpTo < kFiles)
            SearchIndex::buildBatch(connection, 20000);
        indexing = timer.nsecsElapsed() / 1e9;
        timer.start();
        while (SearchIndex::progress(connection)->tail() > 0)
            SearchIndex::buildBatch(connection, 20000);
        reading = timer.nsecsElapsed() / 1e9;
        peak = double(bench::peakResidentBytes() - before) / 1048576.0;
    }
    bench::report(realistic ? u"store 100,000 rows, names and folders as on real discs"_s
                            : u"store 100,000 rows, short names"_s,
                  kFiles / seconds, u"rows/s"_s, realistic ? u">= 100,000 rows/s"_s : u">= 200,000 rows/s"_s);
    bench::report(u"  then adding them to the search index after the import, in batches"_s, kFiles / indexing,
                  u"rows/s"_s, u"store and index: %1 rows/s"_s.arg(qint64(kFiles / (seconds + indexing))));
    bench::report(u"  then adding their pinyin, in batches"_s, kFiles / reading, u"rows/s"_s,
                  u"store, index and pinyin: %1 rows/s%2"_s.arg(qint64(kFiles / (seconds + indexing + reading)))
                      .arg(realistic ? u" (>= 80,000)"_s : QString()));
    bench::report(u"  peak memory of storing"_s, peak, u"MiB"_s);
    QFile script(dir.filePath(u"insert.sql"_s));
    script.open(QIODevice::WriteOnly);
    script.write(sql);
    script.close();
    QElapsedTimer timer;
    timer.start();
    QProcess sqlite;
    sqlite.setStandardInputFile(script.fileName());
    sqlite.start(u"sqlite3"_s, {dir.filePath(u"data/dbQL.mdb"_s)});
    sqlite.waitForFinished(-1);
    const double cli = timer.nsecsElapsed() / 1e9;
    bench::report(u"  sqlite3 inserting the same rows from one SQL file"_s, kFiles / cli, u"rows/s"_s,
                  u"ratio %1"_s.arg((kFiles / seconds) / (kFiles / cli), 0, 'f', 2));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    QDir().mkpath(args[1]);
    benchScan(args[1]);
    benchStore(args[1], false);
    benchStore(args[1], true);
    return 0;
}
