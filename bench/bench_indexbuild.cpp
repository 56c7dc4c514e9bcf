// bench-indexbuild PROGRAM_DIR
// Gives a catalogue written before the search index existed its index, as the program does
// after showing its window (the schema steps, then batches of about 0.1 s): first the names
// and folders, then their pinyin; reports the time and the catalogue's size after each.
#include "BenchSupport.h"
#include "search/SearchIndexBuilder.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "store/ProgressSink.h"
#include "store/SearchIndex.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    const QString file = args[1] + u"/data/dbQL.mdb"_s;
    const double before = double(QFileInfo(file).size()) / 1048576.0;
    TLCommFunction comm;
    TLCommBusiness business(comm);
    QElapsedTimer timer;
    timer.start();
    TdmQL dm(args[1], comm, business);
    if (!dm.Connected())
        return 1;
    const double connect = timer.nsecsElapsed() / 1e9;
    const QString connection = dm.aConQl.connectionName();
    const qint64 rows = SearchIndex::progress(connection)->lastRow;
    bench::QuietProgress progress;
    SearchIndexBuilder builder(connection, progress, [] { return true; });
    bench::resetPeak();
    const qint64 resident = bench::residentBytes();
    timer.start();
    builder.start();
    while (SearchIndex::progress(connection)->indexedUpTo < rows && builder.step()) {
    }
    const double indexSeconds = timer.nsecsElapsed() / 1e9;
    const double indexed = double(QFileInfo(file).size()) / 1048576.0;
    timer.start();
    while (SearchIndex::progress(connection)->tail() > 0 && builder.step()) {
    }
    const double readingSeconds = timer.nsecsElapsed() / 1e9;
    const double after = double(QFileInfo(file).size()) / 1048576.0;
    const auto rate = [rows](double seconds) {
        return u"%1 rows/s"_s.arg(qint64(double(rows) / std::max(seconds, 1e-9)));
    };
    bench::report(u"connect with the schema steps (%1 records)"_s.arg(rows), connect, u"s"_s);
    bench::report(u"building the index of names and folders in batches"_s, indexSeconds, u"s"_s, rate(indexSeconds));
    bench::report(u"adding the pinyin of names and folders in batches"_s, readingSeconds, u"s"_s,
                  rate(readingSeconds));
    bench::report(u"  peak memory while building"_s, double(bench::peakResidentBytes() - resident) / 1048576.0,
                  u"MiB"_s);
    bench::report(u"catalogue without the index"_s, before, u"MiB"_s);
    bench::report(u"catalogue with the index of names and folders"_s, indexed, u"MiB"_s,
                  u"ratio %1 (<= 1.5)"_s.arg(indexed / before, 0, 'f', 2));
    bench::report(u"catalogue with the pinyin too"_s, after, u"MiB"_s,
                  u"pinyin adds %1 of the indexed catalogue (<= 0.33)"_s.arg((after - indexed) / indexed, 0, 'f', 2));
    return 0;
}
