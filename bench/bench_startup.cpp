// bench-startup PROGRAM_DIR
// The start of the program up to the shown main window (catalogue connected, tree of
// discs built) and its end with the compaction of the catalogue, on a copy of the
// catalogue so the original stays as generated.
#include "BenchSupport.h"
#include "app/FrmMain.h"
#include "store/CompactionFolder.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    QTemporaryDir copy;
    QDir().mkpath(copy.filePath(u"data"_s));
    if (!QFile::copy(args[1] + u"/data/dbQL.mdb"_s, copy.filePath(u"data/dbQL.mdb"_s)))
        return 1;
    TLCommFunction comm;
    TLCommBusiness business(comm);
    QtPrompts prompts;
    bench::resetPeak();
    const qint64 before = bench::residentBytes();
    QElapsedTimer timer;
    timer.start();
    auto dm = std::make_unique<TdmQL>(copy.path(), comm, business);
    if (!dm->Connected())
        return 1;
    auto window = std::make_unique<TfrmMain>(*dm, comm, prompts);
    window->show();
    QCoreApplication::processEvents();
    const double start = timer.nsecsElapsed() / 1e9;
    const int discs = window->rootNode()->childCount();
    bench::report(u"start to the shown main window (%1 discs)"_s.arg(discs), start, u"s"_s, u"<= 0.5 s"_s);
    bench::report(u"  peak memory"_s, double(bench::peakResidentBytes() - before) / 1048576.0, u"MiB"_s);
    const qint64 size = QFile(copy.filePath(u"data/dbQL.mdb"_s)).size();
    timer.start();
    window.reset();
    dm.reset();
    const double end = timer.nsecsElapsed() / 1e9;
    const bool compacted = CompactionFolder::leftovers(copy.filePath(u"data/dbQL.mdb"_s)).isEmpty();
    const qint64 sizeAfter = QFile(copy.filePath(u"data/dbQL.mdb"_s)).size();
    bench::report(u"exit (%1 MiB catalogue, %2)"_s.arg(size / 1048576)
                      .arg(sizeAfter != size ? u"compacted"_s : u"nothing worth reclaiming: left as it is"_s),
                  end, u"s"_s, compacted ? u"<= 2 s"_s : u"<= 2 s (copy left behind!)"_s);
    return 0;
}
