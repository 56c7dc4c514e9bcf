// bench-browser PROGRAM_DIR [DISC]
// Opens the main window on a catalogue, selects the disc (default "big") and measures the
// time to the final status text, the longest stretch without event processing, the
// memory per row held after loading and the peak while loading, and sorting by each column.
#include "BenchSupport.h"
#include "app/FrmMain.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/MyStatusBar.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {
// Answers the save dialog with a fixed file; nothing else is asked in this run.
class BenchPrompts : public Prompts {
public:
    QString exportFile;
    void message(const QString &) override {}
    bool confirm(const QString &, const QString &, Icon) override { return true; }
    void critical(const QString &caption, const QString &text) override { qWarning() << caption << text; }
    QString inputText(const QString &, const QString &, const QString &, bool *ok) override
    {
        *ok = false;
        return {};
    }
    QString saveFileName(const QString &, const QString &, const QString &, bool) override { return exportFile; }
};
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    const QString discName = args.size() > 2 ? args[2] : u"big"_s;
    TLCommFunction comm;
    TLCommBusiness business(comm);
    BenchPrompts prompts;
    QTemporaryDir exportDir;
    prompts.exportFile = exportDir.filePath(u"export.Txt"_s);
    TdmQL dm(args[1], comm, business);
    if (!dm.Connected())
        return 1;
    TfrmMain window(dm, comm, prompts);
    window.show();
    QCoreApplication::processEvents();
    QTreeWidgetItem *disc = nullptr;
    for (int i = 0; i < window.rootNode()->childCount(); ++i)
        if (window.rootNode()->child(i)->text(0) == discName)
            disc = window.rootNode()->child(i);
    if (!disc)
        return 1;

    const qint64 before = bench::residentBytes();
    bench::resetPeak();
    QElapsedTimer sinceEvents;
    qint64 longestGap = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (sinceEvents.isValid())
            longestGap = std::max(longestGap, sinceEvents.elapsed());
        sinceEvents.start();
    });
    probe.start(0);
    QElapsedTimer timer;
    timer.start();
    window.tvCdIndex->setCurrentItem(disc);
    // The list is there when its first rows are painted.
    window.lvDetail->viewport()->repaint();
    const double loadSeconds = timer.nsecsElapsed() / 1e9;
    probe.stop();
    const qint64 rows = window.lvDetail->rows()->rowCount();
    const QString label = u"list %1 rows"_s.arg(rows);
    bench::report(label + u": to \"共读入\", first rows painted"_s, loadSeconds, u"s"_s,
                  u"<= 0.05 s (100,000), <= 0.3 s (1,000,000)"_s);
    bench::report(label + u": longest time without events"_s, double(longestGap), u"ms"_s, u"<= 100 ms"_s);
    const qint64 held = bench::residentBytes() - before;
    bench::trimHeap();
    bench::report(label + u": memory held per row"_s, double(bench::residentBytes() - before) / double(rows), u"B"_s,
                  u"<= 16 B plus the cache"_s);
    bench::report(label + u": memory held per row, before returning freed heap"_s, double(held) / double(rows), u"B"_s,
                  QString());
    bench::report(label + u": peak memory per row while loading"_s,
                  double(bench::peakResidentBytes() - before) / double(rows), u"B"_s, QString());
    if (!window.MyStatusBar1->Panel7->text().startsWith(u"共读入:"_s))
        return 1;

    bench::resetPeak();
    const qint64 beforeExport = bench::residentBytes();
    timer.start();
    window.findChild<QAction *>(u"actCDexpASC"_s)->trigger();
    bench::report(label + u": export"_s, timer.nsecsElapsed() / 1e9, u"s"_s, u"<= 1 s (1,000,000)"_s);
    bench::report(label + u": export peak memory"_s, double(bench::peakResidentBytes() - beforeExport) / 1048576.0,
                  u"MiB"_s, QString());
    if (window.MyStatusBar1->Panel7->text() != u"共导出%1条记录"_s.arg(rows))
        return 1;

    const QStringList names{u"光盘名"_s, u"文件名"_s, u"大小"_s, u"时间"_s, u"路径"_s};
    for (int column = 0; column < 5; ++column) {
        timer.start();
        emit window.lvDetail->header()->sectionClicked(column);
        bench::report(label + u": sort by "_s + names[column], timer.nsecsElapsed() / 1e9, u"s"_s,
                      u"<= 0.15 s (100,000), <= 1.5 s (1,000,000)"_s);
    }
    bench::report(label + u": memory held per row after the sorts"_s,
                  double(bench::residentBytes() - before) / double(rows), u"B"_s, QString());

    // Paging to the end and back: each key is handled and the rows it shows painted.
    window.lvDetail->setFocus();
    window.lvDetail->setCurrentIndex(window.lvDetail->rows()->index(0, 0));
    double longestKey = 0;
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers) {
        timer.start();
        QKeyEvent down(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(window.lvDetail, &down);
        window.lvDetail->viewport()->repaint();
        longestKey = std::max(longestKey, timer.nsecsElapsed() / 1e6);
    };
    press(Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 20; ++i)
        press(Qt::Key_PageUp, Qt::NoModifier);
    press(Qt::Key_Home, Qt::ControlModifier);
    bench::report(label + u": longest key of Ctrl+End, 20 × PgUp, Ctrl+Home (painted)"_s, longestKey, u"ms"_s,
                  u"<= 50 ms"_s);
    return 0;
}
