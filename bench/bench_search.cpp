// bench-search PROGRAM_DIR [--realistic]
// Searches a generated catalogue through the search dialog and lists the hits, from the
// click on "查询(&F)" to the final status text; and, beside it, the same search as a plain
// scan without the search index, and grep -c -i over a text file of the same names and
// paths. --realistic: the searches of a catalogue made with bench-mkcatalogue --realistic.
#include "BenchSupport.h"
#include "app/FrmMain.h"
#include "search/FileSearch.h"
#include "search/FrmSearch.h"
#include "search/SearchCondition.h"
#include "search/SearchListBox.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/MyStatusBar.h"
#include "ui/QtPrompts.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct Search {
    QString label;
    QString text;
    QList<int> columns;
    QString target;
};

const QStringList kColumns{u"FileName"_s, u"FileSize"_s, u"FileData"_s, u"FilePath"_s};

// The same search without the index: the statement run and every hit read as a list row.
double scanSeconds(TdmQL &dm, const Search &search)
{
    TQuery query(u"scan"_s, dm.aConQl.connectionName());
    query.SQL() = dm.aqryQuery->SQL();
    query.setStreaming(true);
    QStringList conditions(kColumns.size());
    for (int column : search.columns)
        conditions[column] = SearchCondition::condition(kColumns.at(column));
    const QHash<qint32, QString> names = FileSearch::discNames(dm);
    QElapsedTimer timer;
    timer.start();
    FileSearch::open(query, conditions, SearchCondition::pattern(search.text), FileSearch::IndexUse::Never);
    for (query.First(); !query.Eof(); query.Next())
        FileSearch::hitRow(query, names);
    return timer.nsecsElapsed() / 1e9;
}

double runSearch(TfrmMain &window, const Search &search, QString &status)
{
    QElapsedTimer timer;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<TfrmSearch *>(QApplication::activeModalWidget());
        dialog->edtQlSearch->setText(search.text);
        dialog->slbQL->UncheckAll();
        for (int column : search.columns)
            dialog->slbQL->SetItemChecked(column, true);
        dialog->BuildConditions();
        timer.start();
        dialog->btnFind->click();
    });
    window.findChild<QAction *>(u"actFind"_s)->trigger();
    const double seconds = timer.nsecsElapsed() / 1e9;
    status = window.MyStatusBar1->Panel7->text();
    return seconds;
}

// The names and paths of every file record, one "name<TAB>path" line each.
QString writePaths(TdmQL &dm, const QString &file)
{
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    QSqlQuery query(QSqlDatabase::database(dm.aConQl.connectionName()));
    query.setForwardOnly(true);
    query.exec(u"select FileName, FilePath from CdRomListDt"_s);
    QByteArray buffer;
    while (query.next()) {
        buffer += query.value(0).toString().toUtf8() + '\t' + query.value(1).toString().toUtf8() + '\n';
        if (buffer.size() > 1 << 20) {
            out.write(buffer);
            buffer.clear();
        }
    }
    out.write(buffer);
    out.close();
    bench::report(u"names and paths for grep"_s, double(QFile(file).size()) / 1048576.0, u"MiB"_s);
    return file;
}

double grepSeconds(const QString &text, const QString &file)
{
    // Its count goes to a pipe: with output to /dev/null grep stops at the first match.
    QProcess grep;
    QElapsedTimer timer;
    timer.start();
    grep.start(u"grep"_s, {u"-c"_s, u"-i"_s, u"-F"_s, u"--"_s, text, file});
    grep.waitForFinished(-1);
    const double seconds = timer.nsecsElapsed() / 1e9;
    grep.readAllStandardOutput();
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    TLCommFunction comm;
    TLCommBusiness business(comm);
    QtPrompts prompts;
    TdmQL dm(args[1], comm, business);
    if (!dm.Connected())
        return 1;
    TfrmMain window(dm, comm, prompts);
    window.show();
    QCoreApplication::processEvents();
    QTemporaryDir tmp;
    const QString paths = writePaths(dm, tmp.filePath(u"paths.txt"_s));

    const QList<Search> searches =
        args.contains(u"--realistic"_s)
            ? QList<Search>{
                  {u"rare \"quokka\" in 文件名"_s, u"quokka"_s, {0}, u"<= 0.05 s"_s},
                  {u"rare \"quokka\" in 文件名 and 路径"_s, u"quokka"_s, {0, 3}, u"<= 0.05 s"_s},
                  {u"no hits in 文件名 and 路径"_s, u"qqqzzz"_s, {0, 3}, u"<= 0.02 s"_s},
                  {u"two Chinese characters \"麒麟\" in 文件名 and 路径"_s, u"麒麟"_s, {0, 3}, u"<= 0.3 s"_s},
                  {u"\"mp3\" in 文件名"_s, u"mp3"_s, {0}, u"<= 1.5 s"_s},
                  {u"\"mp3\" in 文件名 and 路径"_s, u"mp3"_s, {0, 3}, u"<= 1.5 s"_s},
                  {u"one character \"麒\" in 文件名"_s, u"麒"_s, {0}, QString()},
                  {u"common two characters \"音乐\" in 文件名"_s, u"音乐"_s, {0}, QString()},
              }
            : QList<Search>{
                  {u"\"mp3\" in 文件名"_s, u"mp3"_s, {0}, u"<= 1 s"_s},
                  {u"\"mp3\" in 文件名 and 路径"_s, u"mp3"_s, {0, 3}, QString()},
                  {u"no hits in 文件名"_s, u"qqqzzz"_s, {0}, u"<= 0.5 s"_s},
              };
    // Warm the cache once.
    QString status;
    runSearch(window, searches.first(), status);
    for (const Search &search : searches) {
        bench::resetPeak();
        const qint64 before = bench::residentBytes();
        const double seconds = runSearch(window, search, status);
        const double grep = grepSeconds(search.text, paths);
        const double scan = scanSeconds(dm, search);
        bench::report(u"search %1 (%2)"_s.arg(search.label, status.isEmpty() ? u"no hits"_s : status), seconds, u"s"_s,
                      search.target);
        bench::report(u"  the same as a plain scan, without the index"_s, scan, u"s"_s,
                      u"ratio %1"_s.arg(scan / seconds, 0, 'f', 1));
        bench::report(u"  grep -c -i \"%1\" over the same names and paths"_s.arg(search.text), grep, u"s"_s,
                      u"ratio %1"_s.arg(seconds / grep, 0, 'f', 1));
        bench::report(u"  peak memory"_s, double(bench::peakResidentBytes() - before) / 1048576.0, u"MiB"_s);
    }
    return 0;
}
