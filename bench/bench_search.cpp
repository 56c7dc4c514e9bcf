// bench-search PROGRAM_DIR [--realistic | --long] [--only TEXT]
// Searches a generated catalogue through the search dialog and lists the hits, from the
// click on "查询(&F)" to the final status text; and, beside it, the same search as a plain
// scan without the search index, and grep -c -i over a text file of the same names and
// paths. --realistic: the searches of a catalogue made with bench-mkcatalogue --realistic.
// --long: texts of up to 10,000 characters in 文件名 and 路径 (repeated wildcards and short
// runs, long words, random text), each beside the plain scan, without grep.
// --only TEXT: only the searches whose label holds TEXT, without the scan and grep beside them.
#include "BenchSupport.h"
#include "app/FrmMain.h"
#include "search/FrmSearch.h"
#include "search/SearchIndexBuilder.h"
#include "search/SearchListBox.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/MyStatusBar.h"
#include "ui/QtPrompts.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QCheckBox>
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

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct Search {
    QString label;
    QString text;
    QList<int> columns;
    QString target;
    bool pinyin = false;
};

// Sets a watermark of the search index (SearchIndexState, or SearchReadingState for the
// pinyin) and gives the one it replaces: at 0 the index is out of use (searches scan every
// record, as before it existed), without being changed.
qint64 setWatermark(TdmQL &dm, const QString &table, qint64 watermark)
{
    QSqlQuery query(QSqlDatabase::database(dm.aConQl.connectionName()));
    query.exec(u"SELECT watermark FROM "_s + table);
    const qint64 old = query.next() ? query.value(0).toLongLong() : 0;
    query.prepare(u"UPDATE %1 SET watermark = ?"_s.arg(table));
    query.bindValue(0, watermark);
    query.exec();
    return old;
}

double runSearchOnce(TfrmMain &window, const Search &search, QString &status)
{
    QElapsedTimer timer;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<TfrmSearch *>(QApplication::activeModalWidget());
        dialog->edtQlSearch->setText(search.text);
        dialog->chkPinyin->setChecked(search.pinyin);
        dialog->slbQL->UncheckAll();
        for (int column : search.columns)
            dialog->slbQL->SetItemChecked(column, true);
        dialog->BuildConditions();
        timer.start();
        dialog->btnFind->click();
    });
    window.findChild<QAction *>(u"actFind"_s)->trigger();
    // To the count with the first rows of the list painted.
    window.lvDetail->viewport()->repaint();
    const double seconds = timer.nsecsElapsed() / 1e9;
    status = window.MyStatusBar1->Panel7->text();
    return seconds;
}

// The median of three runs, the cache warmed by the first.
double runSearch(TfrmMain &window, const Search &search, QString &status)
{
    QList<double> runs;
    for (int i = 0; i < 3; ++i)
        runs.append(runSearchOnce(window, search, status));
    std::sort(runs.begin(), runs.end());
    return runs.at(1);
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

// Texts of up to 10,000 characters, the longest a search is measured with.
QList<Search> longSearches()
{
    QString random;
    quint32 seed = 7;
    const QString alphabet = u"abcdefghijklmnopqrstuvwxyz0123456789 -._音乐歌曲麒麟周杰伦七里香"_s;
    while (random.size() < 10000) {
        seed = seed * 1103515245u + 12345u;
        random += alphabet.at(int((seed >> 16) % alphabet.size()));
    }
    QString shortRuns;
    for (int i = 0; shortRuns.size() < 10000; ++i)
        shortRuns += QString(alphabet.at(i % alphabet.size())) + u'*';
    const QString name = bench::realisticName(7);
    const QList<int> both{0, 3};
    const QString target = u"<= 1 s, never slower than the scan"_s;
    return {
        {u"long text \"*f\" x 1,000 in 文件名 and 路径"_s, u"*f"_s.repeated(1000), both, target},
        {u"long text \"*f\" x 5,000"_s, u"*f"_s.repeated(5000), both, target},
        {u"long text \"*音*乐\" x 2,500"_s, u"*音*乐"_s.repeated(2500), both, target},
        {u"long text: 5,000 short runs of 45 characters"_s, shortRuns.left(10000), both, target},
        {u"long text \"mp3\" x 3,333"_s, u"mp3"_s.repeated(3333), both, target},
        {u"long text: a stored name repeated to 10,000 characters"_s,
         name.repeated(10000 / name.size() + 1).left(10000), both, target},
        {u"long text: 10,000 random characters"_s, random, both, target},
    };
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
    // The catalogue is indexed; the builder stays out of the way of the plain-scan runs.
    window.findChild<SearchIndexBuilder *>()->stop();
    const qsizetype onlyAt = args.indexOf(u"--only"_s);
    const QString only = onlyAt > 0 && onlyAt + 1 < args.size() ? args.at(onlyAt + 1) : QString();
    QTemporaryDir tmp;
    const bool longTexts = args.contains(u"--long"_s);
    const QString paths = only.isEmpty() && !longTexts ? writePaths(dm, tmp.filePath(u"paths.txt"_s)) : QString();

    const QList<Search> searches =
        longTexts ? longSearches()
        : args.contains(u"--realistic"_s)
            ? QList<Search>{
                  {u"rare \"quokka\" in 文件名"_s, u"quokka"_s, {0}, u"<= 0.05 s"_s},
                  {u"rare \"quokka\" in 文件名 and 路径"_s, u"quokka"_s, {0, 3}, u"<= 0.05 s"_s},
                  {u"no hits in 文件名 and 路径"_s, u"qqqzzz"_s, {0, 3}, u"<= 0.02 s"_s},
                  {u"two Chinese characters \"麒麟\" in 文件名 and 路径"_s, u"麒麟"_s, {0, 3}, u"<= 0.3 s"_s},
                  {u"\"mp3\" in 文件名"_s, u"mp3"_s, {0}, u"<= 1.5 s"_s},
                  {u"\"mp3\" in 文件名 and 路径"_s, u"mp3"_s, {0, 3}, u"<= 1.5 s"_s},
                  {u"one character \"麒\" in 文件名"_s, u"麒"_s, {0}, QString()},
                  {u"common two characters \"音乐\" in 文件名"_s, u"音乐"_s, {0}, QString()},
                  {u"拼音 \"qilinyinle\" (麒麟音乐) in 文件名 and 路径"_s, u"qilinyinle"_s, {0, 3}, u"<= 0.05 s"_s, true},
                  {u"拼音 initials \"qlyl\" in 文件名 and 路径"_s, u"qlyl"_s, {0, 3}, u"<= 0.05 s"_s, true},
                  {u"拼音 \"qilin\" (麒麟) in 文件名 and 路径"_s, u"qilin"_s, {0, 3}, u"<= 0.3 s"_s, true},
                  {u"拼音, no hits, \"qqqzzz\" in 文件名 and 路径"_s, u"qqqzzz"_s, {0, 3}, u"<= 0.02 s"_s, true},
                  {u"拼音 \"mp3\" in 文件名"_s, u"mp3"_s, {0}, u"<= 1.5 s"_s, true},
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
        if (!only.isEmpty() && !search.label.contains(only))
            continue;
        bench::resetPeak();
        const qint64 before = bench::residentBytes();
        const double seconds = runSearch(window, search, status);
        bench::report(u"search %1 (%2)"_s.arg(search.label, status.isEmpty() ? u"no hits"_s : status), seconds, u"s"_s,
                      search.target);
        bench::report(u"  peak memory"_s, double(bench::peakResidentBytes() - before) / 1048576.0, u"MiB"_s);
        if (!only.isEmpty())
            continue;
        QString scanStatus;
        const qint64 watermark = setWatermark(dm, u"SearchIndexState"_s, 0);
        const qint64 readings = setWatermark(dm, u"SearchReadingState"_s, 0);
        // One run: at ten million records the scan takes up to a few minutes.
        const double scan = runSearchOnce(window, search, scanStatus);
        setWatermark(dm, u"SearchIndexState"_s, watermark);
        setWatermark(dm, u"SearchReadingState"_s, readings);
        bench::report(u"  the same search scanning every record, without the index (%1)"_s.arg(
                          scanStatus == status ? u"same result"_s : u"DIFFERENT RESULT"_s),
                      scan, u"s"_s, u"ratio %1"_s.arg(scan / seconds, 0, 'f', 1));
        if (paths.isEmpty())
            continue;
        const double grep = grepSeconds(search.text, paths);
        bench::report(u"  grep -c -i \"%1\" over the same names and paths"_s.arg(search.text), grep, u"s"_s,
                      u"ratio %1"_s.arg(seconds / grep, 0, 'f', 1));
    }
    return 0;
}
