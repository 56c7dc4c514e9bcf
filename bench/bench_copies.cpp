// bench-copies DIR [--records N]
// Writes a catalogue of N file records (discs of 1,000) through the program's writer, every
// other disc with checksums; three records in ten are copies of one on an earlier disc
// (same name, size, time and content). Then times 副本统计: the shares of every disc, those
// of one disc, the files on one disc only and the groups held on several. Once more without
// the index over size, name, time and disc, for what it would cost in storing speed and size
// (the questions run on the catalogue as it is, without it).
#include "BenchSupport.h"
#include "drives/platform/formats/Sha256.h"
#include "import/CatalogueWriter.h"
#include "store/Copies.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "store/ProgressSink.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {


constexpr int kPerDisc = 1000;

// The file a record holds: its own, or (three in ten, from the second disc on) the file of
// a record of one of the five discs before that holds its own.
quint64 contentOf(int disc, int record)
{
    if (disc > 0 && record % 10 < 3)
        return quint64(std::max(0, disc - 1 - record % 5)) * kPerDisc + quint64(record + 3);
    return quint64(disc) * kPerDisc + quint64(record);
}

void writeDisc(TdmQL &dm, TLCommFunction &comm, int disc)
{
    FileRowModel rows;
    std::vector<FileRow> list;
    QList<QByteArray> digests;
    for (int r = 0; r < kPerDisc; ++r) {
        const quint64 id = contentOf(disc, r);
        list.push_back(FileRow{bench::fileName(id),
                               {bench::fileSize(id), bench::fileDate(id), u"e:"_s + bench::filePath(id), QString()}});
        digests.append(Sha256::of(QByteArray::number(id)));
    }
    rows.appendRows(std::move(list));
    bench::QuietProgress progress;
    CatalogueWriter::StoreDisc(dm, comm, {u"disc %1"_s.arg(disc + 1, 5, 10, QChar(u'0')), u"L"_s, u"00000001"_s},
                               rows, progress, disc % 2 == 0 ? &digests : nullptr);
}

struct Written {
    double seconds;
    qint64 bytes;
};

Written writeCatalogue(const QString &dir, qint64 records, bool withIndex)
{
    QDir(dir).removeRecursively();
    bench::newCatalogue(dir);
    TLCommFunction comm;
    TLCommBusiness business(comm);
    QElapsedTimer timer;
    timer.start();
    {
        TdmQL dm(dir, comm, business);
        if (withIndex)
            for (const QString &statement : Copies::indexStatements())
                runStatement(dm.aConQl.connectionName(), statement);
        for (int d = 0; d < int(records / kPerDisc); ++d)
            writeDisc(dm, comm, d);
    }
    return {double(timer.elapsed()) / 1000.0, QFileInfo(dir + u"/data/dbQL.mdb"_s).size()};
}

template <class Work> double seconds(Work work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.elapsed()) / 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return 2;
    const QString dir = args.takeFirst();
    const qint64 records = args.size() >= 2 && args[0] == u"--records"_s ? args[1].toLongLong() : 1000000;
    const QString n = records >= 1000000 ? u"%1M"_s.arg(records / 1000000) : QString::number(records);
    const Written plain = writeCatalogue(dir + u"/plain"_s, records, false);
    const Written indexed = writeCatalogue(dir + u"/indexed"_s, records, true);
    bench::report(u"copies %1: storing, no copies index"_s.arg(n), plain.seconds, u"s"_s);
    bench::report(u"copies %1: storing, with copies index"_s.arg(n), indexed.seconds, u"s"_s);
    bench::report(u"copies %1: catalogue size, no index"_s.arg(n), double(plain.bytes) / 1048576.0, u"MiB"_s);
    bench::report(u"copies %1: catalogue size, with index"_s.arg(n), double(indexed.bytes) / 1048576.0, u"MiB"_s);
    TLCommFunction comm;
    TLCommBusiness business(comm);
    TdmQL dm(dir + u"/plain"_s, comm, business); // as the catalogue is: without the index
    const QString connection = dm.aConQl.connectionName();
    const QString target = records >= 10000000 ? u"<= 20 s"_s : u"<= 2 s"_s;
    qint64 copied = 0, single = 0, groups = 0;
    bench::report(u"copies %1: shares of every disc"_s.arg(n), seconds([&] {
                      for (const Copies::DiscShare &share : Copies::shares(connection))
                          copied += share.copied;
                  }),
                  u"s"_s, target);
    bench::report(u"copies %1: shares of one disc"_s.arg(n), seconds([&] { Copies::shares(connection, 2); }), u"s"_s,
                  target);
    bench::report(u"copies %1: files on one disc only"_s.arg(n),
                  seconds([&] { Copies::single(connection, {}, [&](FileRow &&) { ++single; }); }), u"s"_s, target);
    bench::report(u"copies %1: groups on several discs"_s.arg(n),
                  seconds([&] { Copies::duplicates(connection, {}, [&](Copies::Group &&) { ++groups; }); }), u"s"_s,
                  target);
    bench::report(u"copies %1: the three lists in one walk (副本统计's window)"_s.arg(n), seconds([&] {
                      Copies::all(connection, {}, [](FileRow &&) {}, [](Copies::Group &&) {});
                  }),
                  u"s"_s, target);
    bench::report(u"copies %1: files with a copy / on one disc / groups"_s.arg(n), double(copied), u"files"_s,
                  u"%1 / %2"_s.arg(single).arg(groups));
    return 0;
}
