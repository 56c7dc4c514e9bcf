// quillon-cli through its binary: imports of a folder and a disc image, listings and search
// equal to what the window shows, the export's bytes equal to the window's export, the exit
// statuses, a write refused while another program holds the catalogue, and progress only
// on a terminal.
#include "../drives/IsoImages.h"
#include "RecordingErrorPresenter.h"
#include "ScriptedPrompts.h"
#include "TestProgramDir.h"
#include "app/DiscBrowser.h"
#include "app/FrmMain.h"
#include "search/FileListExport.h"
#include "search/FrmSearch.h"
#include "search/SearchController.h"
#include "search/SearchListBox.h"
#include "store/CatalogueLock.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QBuffer>
#include <QLibraryInfo>
#include <QTranslator>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Whether a message carries the system's "no space left" as the command says it: in the
// interface's language, through Qt's translation of the system's messages, or as the C
// library words it.
bool saysNoSpace(const QString &message)
{
    QTranslator qt;
    const bool loaded = qt.load(u"qtbase_zh_CN"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    const QString chinese = loaded ? qt.translate("QIODevice", "No space left on device") : QString();
    return message.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))) ||
           (!chinese.isEmpty() && message.contains(chinese));
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    struct Run {
        int status;
        QString out;
        QString err;
    };
    QTemporaryDir m_dir;
    QString m_catalogue;

    Run cli(const QStringList &arguments, const QString &standardOutput = QString(), const QString &catalogue = QString())
    {
        return cliAsGiven(arguments + QStringList{u"--catalogue"_s, catalogue.isEmpty() ? m_catalogue : catalogue},
                          standardOutput);
    }

    Run cliAsGiven(const QStringList &arguments, const QString &standardOutput = QString())
    {
        QProcess process;
        if (!standardOutput.isEmpty())
            process.setStandardOutputFile(standardOutput);
        process.start(QStringLiteral(QUILLON_CLI), arguments);
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    // The search index's watermark, the pinyin's, and the last file record.
    QString indexState() const
    {
        QProcess sqlite;
        sqlite.start(u"sqlite3"_s, {m_catalogue, u"select (select watermark from SearchIndexState), (select watermark "
                                                 "from SearchReadingState), (select max(rowid) from CdRomListDt)"_s});
        sqlite.waitForFinished();
        return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed();
    }

    // The window on the same catalogue, as a user would see it.
    struct Window {
        RecordingErrorPresenter presenter;
        TLCommFunction comm{&presenter};
        TLCommBusiness business{comm};
        TdmQL dm;
        ScriptedPrompts prompts;
        TfrmMain main{dm, comm, prompts};
        explicit Window(const QString &catalogue)
            : dm(QFileInfo(catalogue).absolutePath(), catalogue, comm, business, nullptr, TdmQL::Access::ReadOnly)
        {
            main.show();
        }
    };

    // The rows as the command line writes them: fields between TABs, backslashes doubled.
    static QString tsv(const FileRowModel &rows)
    {
        QString text;
        for (const FileRow &row : rows.allRows()) {
            QStringList fields{row.caption, row.sub[0], row.sub[1], row.sub[2], row.sub[3]};
            for (QString &field : fields)
                field.replace(u"\\"_s, u"\\\\"_s);
            text += fields.join(u'\t') + u'\n';
        }
        return text;
    }

private slots:
    void initTestCase()
    {
        m_catalogue = m_dir.filePath(u"cat.mdb"_s);
        QVERIFY(QProcess::execute(QStringLiteral(QUILLON_MKDB), {m_catalogue}) == 0);
        QDir().mkpath(m_dir.filePath(u"music/专辑"_s));
        for (const QString &name : {u"music/专辑/一.mp3"_s, u"music/二.wav"_s, u"music/skip.txt"_s}) {
            QFile file(m_dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("data");
        }
    }

    // --archives: a photo inside a zip is found by its name, with the zip in its path.
    void importsTheFilesInsideArchives()
    {
        QDir().mkpath(m_dir.filePath(u"backup/夏天"_s));
        QFile photo(m_dir.filePath(u"backup/夏天/IMG_0412.JPG"_s));
        QVERIFY(photo.open(QIODevice::WriteOnly) && photo.write("jpeg") == 4);
        photo.close();
        QProcess zip;
        zip.setWorkingDirectory(m_dir.filePath(u"backup"_s));
        zip.start(u"zip"_s, {u"-qrm"_s, u"照片2004.zip"_s, u"夏天"_s});
        if (!zip.waitForFinished() || zip.exitCode() != 0)
            QSKIP("zip is not installed (scripts/setup.sh installs it)");
        const QString catalogue = m_dir.filePath(u"archives.mdb"_s);
        QVERIFY(QProcess::execute(QStringLiteral(QUILLON_MKDB), {catalogue}) == 0);
        const QStringList import{u"import"_s, u"--category"_s, u"全部文件"_s, u"--folder"_s, m_dir.filePath(u"backup"_s)};
        QCOMPARE(cli(import + QStringList{u"--name"_s, u"没有压缩文件"_s}, {}, catalogue).status, 0);
        QCOMPARE(cli({u"search"_s, u"IMG_0412"_s}, {}, catalogue).status, 1);
        const Run archives = cli(import + QStringList{u"--name"_s, u"备份"_s, u"--archives"_s}, {}, catalogue);
        QCOMPARE(archives.status, 0);
        QVERIFY2(archives.err.contains(u"1个压缩文件"_s), qPrintable(archives.err));
        // The path as the output writes it, backslashes doubled.
        const Run found = cli({u"search"_s, u"IMG_0412"_s}, {}, catalogue);
        QVERIFY2(found.out.contains(u"\\\\backup\\\\照片2004.zip\\\\夏天\\\\"_s), qPrintable(found.out));
    }

    void importsAndStatuses()
    {
        QCOMPARE(cli({u"import"_s, u"--name"_s, u"文件夹"_s, u"--category"_s, u"音乐"_s, u"--folder"_s,
                      m_dir.filePath(u"music"_s)})
                     .status,
                 0);
        IsoImages images;
        const QString image = images.genisoimage(u"cd.iso"_s, {u"-J"_s, u"-V"_s, u"MY_CD"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        QCOMPARE(cli({u"import"_s, u"--name-from-label"_s, u"--category"_s, u"全部文件"_s, u"--image"_s, image}).status,
                 0);

        const Run taken = cli({u"import"_s, u"--name-from-label"_s, u"--category"_s, u"音乐"_s, u"--image"_s, image});
        QCOMPARE(taken.status, 1);
        QVERIFY(taken.err.contains(u"光盘索引库中已经有该名称的光盘了!"_s));
        QCOMPARE(cli({u"import"_s, u"--category"_s, u"音乐"_s}).status, 2);
        QCOMPARE(cli({u"nosuchcommand"_s}).status, 2);
        QCOMPARE(cli({u"search"_s, u"no-such-name"_s}).status, 1);
        QCOMPARE(cli({u"search"_s, u"zhuanji"_s, u"--in"_s, u"path"_s}).status, 1);
        QVERIFY(cli({u"search"_s, u"zhuanji"_s, u"--in"_s, u"path"_s, u"--pinyin"_s}).out.contains(u"一.mp3"_s));
        QCOMPARE(cli({u"files"_s, u"没有这张盘"_s}).status, 1);

        const Run discs = cli({u"discs"_s});
        QCOMPARE(discs.status, 0);
        QCOMPARE(discs.out.count(u'\n'), 2);
        QVERIFY(discs.out.contains(u"MY_CD\tMY_CD\t"_s));
        QVERIFY(discs.out.contains(u"文件夹\t"_s));
    }

    // show, edit, discs --lent and --where on a catalogue of their own; the window sees the
    // same.
    void propertiesFromTheCommandLine()
    {
        const QString catalogue = m_dir.filePath(u"properties.mdb"_s);
        QVERIFY(QProcess::execute(QStringLiteral(QUILLON_MKDB), {catalogue}) == 0);
        for (const QString &name : {u"文件夹"_s, u"Other"_s})
            QCOMPARE(cli({u"import"_s, u"--name"_s, name, u"--category"_s, u"音乐"_s, u"--folder"_s,
                          m_dir.filePath(u"music"_s), u"--time"_s, u"modified"_s},
                         {}, catalogue)
                         .status,
                     0);
        QCOMPARE(cli({u"edit"_s, u"文件夹"_s, u"--location"_s, u"书房 柜2"_s, u"--keywords"_s, u"a,b"_s, u"--lend"_s,
                      u"张三"_s},
                     {}, catalogue)
                     .status,
                 0);
        const Run shown = cli({u"show"_s, u"文件夹"_s, u"--json"_s}, {}, catalogue);
        QCOMPARE(shown.status, 0);
        const QJsonObject properties = QJsonDocument::fromJson(shown.out.toUtf8()).object();
        QCOMPARE(properties.value(u"location"_s).toString(), u"书房 柜2"_s);
        QCOMPARE(properties.value(u"keywords"_s).toArray().size(), 2);
        QCOMPARE(properties.value(u"lentTo"_s).toString(), u"张三"_s);
        QCOMPARE(properties.value(u"files"_s).toInt(), 2);
        const QJsonObject record = properties.value(u"import"_s).toObject();
        QCOMPARE(record.value(u"category"_s).toString(), u"音乐"_s);
        QCOMPARE(record.value(u"path"_s).toString(), QFileInfo(m_dir.filePath(u"music"_s)).canonicalFilePath());
        QCOMPARE(record.value(u"options"_s).toObject().value(u"fileTime"_s).toString(), u"modified"_s);

        QVERIFY(cli({u"discs"_s, u"--where"_s, u"sf"_s}, {}, catalogue).out.startsWith(u"文件夹\t"_s));
        QCOMPARE(cli({u"discs"_s, u"--where"_s, u"nowhere"_s}, {}, catalogue).status, 1);
        QVERIFY(cli({u"discs"_s, u"--lent"_s}, {}, catalogue).out.startsWith(u"文件夹\t张三\t"_s));

        const Run taken = cli({u"edit"_s, u"Other"_s, u"--rename"_s, u"文件夹"_s}, {}, catalogue);
        QCOMPARE(taken.status, 1);
        QVERIFY(taken.err.contains(u"光盘索引库中已经有该名称的光盘了!"_s));
        QCOMPARE(cli({u"edit"_s, u"文件夹"_s, u"--return"_s, u"--rename"_s, u"Music"_s}, {}, catalogue).status, 0);
        QCOMPARE(cli({u"discs"_s, u"--lent"_s}, {}, catalogue).status, 1);
        QVERIFY(cli({u"show"_s, u"Music"_s}, {}, catalogue).out.contains(u"lending\t张三\t"_s));

        Window window(catalogue);
        QTreeWidgetItem *first = window.main.rootNode()->child(0);
        QCOMPARE(first->text(0), u"Music"_s);
        QVERIFY(first->toolTip(0).contains(u"书房 柜2"_s));
    }

    // An image imported with checksums: its sha256sum lines check the disc's files with
    // sha256sum -c, and copies name the files on one disc only.
    void checksumsAndCopies()
    {
        IsoImages images;
        const QString image = images.genisoimage(u"sums.iso"_s, {u"-J"_s, u"-V"_s, u"SUMS"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        const Run imported = cli({u"import"_s, u"--name-from-label"_s, u"--category"_s, u"全部文件"_s, u"--image"_s,
                                  image, u"--checksums"_s});
        QCOMPARE(imported.status, 0);
        QVERIFY(imported.err.contains(u"已校验3个文件"_s));
        const QString list = m_dir.filePath(u"sums.sha256"_s);
        QCOMPARE(cli({u"checksums"_s, u"SUMS"_s}, list).status, 0);
        QProcess check;
        check.setWorkingDirectory(images.path(u"tree"_s));
        check.start(u"sha256sum"_s, {u"-c"_s, list});
        QVERIFY(check.waitForFinished(60000));
        QCOMPARE(check.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(check.readAllStandardOutput()).count(u": OK"_s), 3);
        QCOMPARE(cli({u"checksums"_s, u"文件夹"_s}).status, 1); // imported without checksums

        // Copies of MY_CD's files (by name, size and time) or not: the list of SUMS's files
        // found nowhere else holds as many as its line of figures says.
        const QStringList figures = cli({u"copies"_s, u"SUMS"_s}).out.trimmed().split(u'\t');
        QCOMPARE(figures.value(1), u"3"_s);
        const Run single = cli({u"copies"_s, u"SUMS"_s, u"--single"_s});
        QCOMPARE(QString::number(single.out.count(u'\n')), figures.value(3));
    }

    // verify through an image and through the folder the import record names: whole (0),
    // a second image with one file altered (1, changed), a folder with a file gone and one
    // added (1); the history makes them no longer due, while a disc never verified is.
    void verifyAndTheDueList()
    {
        IsoImages images;
        const QString first = images.genisoimage(u"v1.iso"_s, {u"-J"_s, u"-V"_s, u"VERIFY"_s});
        QVERIFY2(!first.isEmpty(), qPrintable(images.lastError));
        QCOMPARE(cli({u"import"_s, u"--name-from-label"_s, u"--category"_s, u"全部文件"_s, u"--image"_s, first,
                      u"--checksums"_s})
                     .status,
                 0);
        const Run whole = cli({u"verify"_s, u"VERIFY"_s, u"--image"_s, first});
        QCOMPARE(whole.status, 0);
        QVERIFY2(whole.err.contains(u"相同 3，已改变 0，缺少 0，新文件 0，无法读取 0"_s), qPrintable(whole.err));
        images.write(u"readme.txt"_s, "HELLO");
        const QString second = images.genisoimage(u"v2.iso"_s, {u"-J"_s, u"-V"_s, u"VERIFY"_s});
        const Run altered = cli({u"verify"_s, u"VERIFY"_s, u"--image"_s, second});
        QCOMPARE(altered.status, 1);
        QVERIFY2(altered.out.startsWith(u"changed\treadme.txt\t5\t"_s), qPrintable(altered.out));
        QVERIFY(altered.out.contains(u"内容不同"_s));

        const QString folder = m_dir.filePath(u"verified"_s);
        QDir().mkpath(folder);
        for (const QString &name : {u"kept.txt"_s, u"gone.txt"_s}) {
            QFile file(folder + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
        QCOMPARE(cli({u"import"_s, u"--name"_s, u"放过的"_s, u"--category"_s, u"全部文件"_s, u"--folder"_s, folder}).status,
                 0);
        QVERIFY(QFile::remove(folder + u"/gone.txt"_s));
        QFile added(folder + u"/added.txt"_s);
        QVERIFY(added.open(QIODevice::WriteOnly));
        added.close();
        const Run changed = cli({u"verify"_s, u"放过的"_s});
        QCOMPARE(changed.status, 1);
        QCOMPARE(changed.out.count(u'\n'), 2);
        QVERIFY(changed.out.contains(u"missing\tgone.txt"_s) && changed.out.contains(u"new\tadded.txt"_s));

        const Run due = cli({u"discs"_s, u"--due"_s});
        QCOMPARE(due.status, 0);
        QVERIFY(!due.out.contains(u"VERIFY\t"_s) && !due.out.contains(u"放过的\t"_s));
        QVERIFY2(due.out.contains(u"SUMS\t\tnever\n"_s), qPrintable(due.out));
        QCOMPARE(cli({u"verify"_s, u"没有这张"_s}).status, 1);
    }

    // Each import leaves the search index and the pinyin up to date; the command index
    // brings a whole catalogue up to date.
    void keepsTheIndexUpToDate()
    {
        const QString last = indexState().section(u'|', 2);
        QVERIFY(last.toInt() > 0);
        QCOMPARE(indexState(), u"%1|%1|%1"_s.arg(last));
        QCOMPARE(QProcess::execute(u"sqlite3"_s, {m_catalogue, u"update SearchIndexState set watermark = 0; "
                                                               "update SearchReadingState set watermark = 0"_s}),
                 0);
        QCOMPARE(cli({u"index"_s}).status, 0);
        QCOMPARE(indexState(), u"%1|%1|%1"_s.arg(last));
    }

    // What cannot be read is passed over and counted on standard error. The import runs as
    // an unprivileged user, for whom permissions hold.
    void countsWhatCannotBeRead()
    {
        QTemporaryDir dir;
        const QString tree = dir.filePath(u"tree"_s);
        for (const QString &name : {u"open.mp3"_s, u"locked/x.mp3"_s, u"blind/a.mp3"_s, u"blind/b.mp3"_s}) {
            QDir().mkpath(QFileInfo(tree + u'/' + name).absolutePath());
            QFile file(tree + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString catalogue = dir.filePath(u"cat.mdb"_s);
        QCOMPARE(QProcess::execute(QStringLiteral(QUILLON_MKDB), {catalogue}), 0);
        QCOMPARE(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        QCOMPARE(chmod(QFile::encodeName(tree + u"/locked"_s).constData(), 0), 0);     // cannot be opened
        QCOMPARE(chmod(QFile::encodeName(tree + u"/blind"_s).constData(), 0444), 0);  // listed, not examined
        for (const QString &owned : {dir.path(), catalogue})
            QCOMPARE(chown(QFile::encodeName(owned).constData(), 65534, 65534), 0);
        QProcess process;
        process.start(u"setpriv"_s, {u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s,
                                     QStringLiteral(QUILLON_CLI), u"import"_s, u"--name"_s, u"受限"_s, u"--category"_s,
                                     u"音乐"_s, u"--folder"_s, tree, u"--catalogue"_s, catalogue});
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == 0, qPrintable(err));
        QVERIFY2(err.contains(u"1个文件夹和2个文件无法读取，没有列入"_s), qPrintable(err));
    }

    // update: --dry-run lists the difference and writes nothing; update applies it, keeps
    // the disc's code and leaves the index exact; --all-folders passes over a folder that is
    // gone with a line, update of it alone says so; refused while the catalogue is held.
    void updateFromTheCommandLine()
    {
        QTemporaryDir dir;
        const QString catalogue = dir.filePath(u"cat.mdb"_s);
        QCOMPARE(QProcess::execute(QStringLiteral(QUILLON_MKDB), {catalogue}), 0);
        const QString folder = dir.filePath(u"歌"_s);
        const auto write = [&](const QString &name) {
            QDir().mkpath(folder);
            QFile file(folder + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("data");
        };
        write(u"一.mp3"_s);
        write(u"二.mp3"_s);
        const auto run = [&](const QStringList &arguments) { return cli(arguments, QString(), catalogue); };
        QCOMPARE(run({u"import"_s, u"--name"_s, u"歌盘"_s, u"--category"_s, u"音乐"_s, u"--folder"_s, folder}).status,
                 0);
        QCOMPARE(run({u"edit"_s, u"歌盘"_s, u"--location"_s, u"抽屉三"_s}).status, 0);
        const QString shown = run({u"show"_s, u"歌盘"_s}).out;
        QVERIFY(shown.contains(u"抽屉三"_s));
        QVERIFY(QFile::remove(folder + u"/二.mp3"_s));
        write(u"新歌.mp3"_s);

        const Run dry = run({u"update"_s, u"歌盘"_s, u"--dry-run"_s});
        QCOMPARE(dry.status, 0);
        const QStringList lines = dry.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).startsWith(u"added\t"_s) && lines.at(0).contains(u"\t新歌.mp3\t4\t"_s), qPrintable(dry.out));
        QVERIFY(lines.at(1).startsWith(u"removed\t"_s) && lines.at(1).contains(u"\t二.mp3\t"_s));
        QVERIFY2(dry.err.contains(u"新增1个文件，删除1个，更改0个，未变1个"_s), qPrintable(dry.err));
        QCOMPARE(run({u"files"_s, u"歌盘"_s}).out.count(u'\n'), 2);

        const Run applied = run({u"update"_s, u"歌盘"_s});
        QCOMPARE(applied.status, 0);
        QVERIFY(applied.err.contains(u"新增1个文件，删除1个"_s));
        QCOMPARE(run({u"show"_s, u"歌盘"_s}).out, shown);
        QVERIFY(run({u"search"_s, u"xinge"_s, u"--pinyin"_s}).out.contains(u"新歌.mp3"_s));
        QCOMPARE(run({u"search"_s, u"二.mp3"_s}).status, 1);

        QVERIFY(QDir(folder).removeRecursively());
        const Run all = run({u"update"_s, u"--all-folders"_s});
        QCOMPARE(all.status, 0);
        QVERIFY2(all.err.contains(u"跳过 歌盘：找不到光盘的来源："_s), qPrintable(all.err));
        const Run missing = run({u"update"_s, u"歌盘"_s});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains(u"找不到光盘的来源："_s));
        QCOMPARE(run({u"files"_s, u"歌盘"_s}).out.count(u'\n'), 2);

        const CatalogueLock window(catalogue);
        QCOMPARE(run({u"update"_s, u"--all-folders"_s}).status, 1);
    }

    // A write waits for no one: it is refused while another program holds the catalogue;
    // reading goes on.
    void writesRefusedWhileInUse()
    {
        const CatalogueLock window(m_catalogue);
        QCOMPARE(window.state(), CatalogueLock::State::Held);
        const Run refused = cli({u"import"_s, u"--name"_s, u"又一张"_s, u"--category"_s, u"音乐"_s, u"--folder"_s,
                                 m_dir.filePath(u"music"_s)});
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.err.contains(u"光盘索引库正在被另一个程序使用"_s));
        QCOMPARE(cli({u"discs"_s}).status, 0);
    }

    void listingsEqualTheWindow()
    {
        Window window(m_catalogue);
        window.main.browser().SelectDisc(u"文件夹"_s);
        QCOMPARE(cli({u"files"_s, u"文件夹"_s}).out, tsv(*window.main.lvDetail->rows()));

        // The export of the same list, byte for byte.
        QBuffer shown;
        shown.open(QIODevice::WriteOnly);
        FileListExport::write(*window.main.lvDetail->rows(), shown, window.main.progress());
        const QString exported = m_dir.filePath(u"export.txt"_s);
        QCOMPARE(cli({u"export"_s, u"文件夹"_s, u"-o"_s, exported}).status, 0);
        QFile file(exported);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), shown.data());

        // The search dialog's hits in 文件名 and 路径.
        QTimer::singleShot(0, this, [] {
            auto *dialog = qobject_cast<TfrmSearch *>(QApplication::activeModalWidget());
            dialog->edtQlSearch->setText(u"MP3"_s);
            dialog->slbQL->SetItemChecked(3, true);
            dialog->btnFind->click();
        });
        window.main.findChild<QAction *>(u"actFind"_s)->trigger();
        QCOMPARE(cli({u"search"_s, u"MP3"_s, u"--in"_s, u"name,path"_s}).out, tsv(*window.main.lvDetail->rows()));
        QVERIFY(window.main.lvDetail->rows()->rowCount() >= 2);
    }

    // The options every command takes may stand before the command word, as with git.
    void globalOptionsBeforeTheCommand()
    {
        const Run json = cliAsGiven({u"--catalogue"_s, m_catalogue, u"--json"_s, u"discs"_s});
        QCOMPARE(json.status, 0);
        QVERIFY(json.out.startsWith(u'['));
        QCOMPARE(cliAsGiven({u"--catalogue="_s + m_catalogue, u"files"_s, u"文件夹"_s}).out,
                 cli({u"files"_s, u"文件夹"_s}).out);
        const Run help = cliAsGiven({u"--help"_s, u"search"_s});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains(u"--pinyin"_s));
        // Qt's own texts of the help speak the interface's language too.
        QVERIFY2(help.out.startsWith(u"用法："_s), qPrintable(help.out));
        QVERIFY(!help.out.contains(u"Options:"_s));
    }

    // Control characters in names never reach a terminal raw. --time modified lists the
    // last-write times.
    void namesEscapedAndTimesChosen()
    {
        const QString folder = m_dir.filePath(u"ctl"_s);
        QDir().mkpath(folder);
        QFile file(folder + u"/a\x1b[31mb\u009b.mp3"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
        file.close();
        const QString disc = u"控\x1b]0;t\x07制"_s;
        const QStringList import{u"import"_s, u"--name"_s, disc, u"--category"_s, u"音乐"_s, u"--folder"_s, folder};
        QCOMPARE(cli(import + QStringList{u"--time"_s, u"later"_s}).status, 2);
        const Run imported = cli(import + QStringList{u"--time"_s, u"modified"_s});
        QCOMPARE(imported.status, 0);
        QCOMPARE(imported.err, u"完成导入：控\\x1b]0;t\\x07制\n"_s);
        const Run text = cli({u"files"_s, disc});
        QVERIFY2(text.out.startsWith(u"控\\x1b]0;t\\x07制\ta\\x1b[31mb\\u009b.mp3\t0\t2001-02-03 04:05:06\t"_s),
                 qPrintable(text.out));
        const Run json = cli({u"files"_s, disc, u"--json"_s});
        QVERIFY(json.out.contains(u"a\\u001b[31mb"_s));
        QVERIFY(!json.out.contains(QChar(0x1b)));
    }

    // An export onto a FIFO, a device or /dev/stdout writes to it: none is replaced by a
    // file; a device that fails the write (a copy of /dev/full) ends with status 3.
    void exportWritesDevicesInPlace()
    {
        const QStringList exportList{u"export"_s, u"文件夹"_s, u"--encoding"_s, u"utf-8"_s};
        const QString regular = m_dir.filePath(u"regular.txt"_s);
        QCOMPARE(cli(exportList + QStringList{u"-o"_s, regular}).status, 0);
        const QByteArray expected = fileBytes(regular);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(cli(exportList + QStringList{u"-o"_s, u"/dev/stdout"_s}).out.toUtf8(), expected);

        const QString fifo = m_dir.filePath(u"fifo"_s);
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QProcess reader;
        reader.start(u"cat"_s, {fifo});
        QVERIFY(reader.waitForStarted());
        QCOMPARE(cli(exportList + QStringList{u"-o"_s, fifo}).status, 0);
        QVERIFY(reader.waitForFinished(10000));
        QCOMPARE(reader.readAllStandardOutput(), expected);

        const QString full = m_dir.filePath(u"full"_s);
        QVERIFY(::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0600, makedev(1, 7)) == 0);
        const Run failed = cli(exportList + QStringList{u"-o"_s, full});
        QCOMPARE(failed.status, 3);
        QVERIFY2(saysNoSpace(failed.err), qPrintable(failed.err));
        struct stat status {};
        QVERIFY(::lstat(QFile::encodeName(fifo).constData(), &status) == 0 && S_ISFIFO(status.st_mode));
        QVERIFY(::lstat(QFile::encodeName(full).constData(), &status) == 0 && S_ISCHR(status.st_mode));
    }

    // Standard output that cannot take what is written (a full disk) ends with status 3 and
    // the system's message, for listings and exports alike.
    void failedWritesOnStandardOutput()
    {
        for (const QStringList &command : {QStringList{u"files"_s, u"文件夹"_s}, QStringList{u"discs"_s, u"--json"_s},
                                           QStringList{u"export"_s, u"文件夹"_s}, QStringList{u"--help"_s}}) {
            const Run run = cli(command, u"/dev/full"_s);
            QCOMPARE(run.status, 3);
            QVERIFY2(saysNoSpace(run.err), qPrintable(run.err));
        }
    }

    // A catalogue a newer program wrote is read but never written; the window disables what
    // writes and says why.
    void newerCatalogueIsOnlyRead()
    {
        const QString newer = m_dir.filePath(u"newer.mdb"_s);
        QVERIFY(QFile::copy(m_catalogue, newer));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"newer"_s);
            db.setDatabaseName(newer);
            QVERIFY(db.open() && QSqlQuery(db).exec(u"PRAGMA user_version = 99"_s));
        }
        QSqlDatabase::removeDatabase(u"newer"_s);
        const QByteArray content = fileBytes(newer);
        const Run refused = cli({u"import"_s, u"--name"_s, u"新的"_s, u"--category"_s, u"音乐"_s, u"--folder"_s,
                                 m_dir.filePath(u"music"_s)},
                                QString(), newer);
        QCOMPARE(refused.status, 3);
        QVERIFY(refused.err.contains(u"这个光盘索引库由较新版本的程序写入，不能修改"_s));
        QCOMPARE(cli({u"discs"_s}, QString(), newer).status, 0);
        {
            Window window(newer);
            for (const char *name : {"actCDimp", "actDriverImp", "actExtEdition"}) {
                const auto *action = window.main.findChild<QAction *>(QLatin1StringView(name));
                QVERIFY(!action->isEnabled());
                QVERIFY(action->toolTip().contains(u"较新版本"_s));
            }
            window.main.browser().SelectDisc(u"文件夹"_s);
            QVERIFY(!window.main.actDel->isEnabled());
            QVERIFY(window.main.actFind->isEnabled());
        }
        QCOMPARE(fileBytes(newer), content);
    }

    // A FIFO planted in the lock file's place is a refusal for another user too, at once.
    void plantedFifoLockIsARefusal()
    {
        QTemporaryDir shared;
        QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
        const QString catalogue = shared.filePath(u"shared.mdb"_s);
        QVERIFY(QFile::copy(m_catalogue, catalogue));
        QVERIFY(QFile::setPermissions(catalogue, QFileDevice::Permissions(0x6666)));
        QVERIFY(::mkfifo(QFile::encodeName(catalogue + u".lock"_s).constData(), 0644) == 0);
        QProcess process;
        process.start(u"runuser"_s, {u"-u"_s, u"nobody"_s, u"--"_s, QStringLiteral(QUILLON_CLI), u"import"_s,
                                     u"--name"_s, u"又一张"_s, u"--category"_s, u"音乐"_s, u"--folder"_s,
                                     shared.path(), u"--catalogue"_s, catalogue});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 3);
        QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(u"无法锁定光盘索引库"_s));
    }

    // Progress goes to a terminal only; a pipe gets none.
    void progressOnlyOnATerminal()
    {
        const QStringList import{u"import"_s,
                                 u"--name"_s,
                                 u"终端"_s,
                                 u"--category"_s,
                                 u"音乐"_s,
                                 u"--folder"_s,
                                 m_dir.filePath(u"music"_s),
                                 u"--catalogue"_s,
                                 m_catalogue};
        const Run piped = cli({u"export"_s, u"文件夹"_s});
        QVERIFY(!piped.err.contains(u'['));
        QProcess terminal;
        QStringList quoted;
        for (const QString &argument : QStringList{QStringLiteral(QUILLON_CLI)} + import)
            quoted << u"'"_s + argument + u"'"_s;
        terminal.start(u"script"_s, {u"-qec"_s, quoted.join(u' '), u"/dev/null"_s});
        QVERIFY(terminal.waitForFinished(60000));
        QCOMPARE(terminal.exitCode(), 0);
        QVERIFY(QString::fromUtf8(terminal.readAll()).contains(u"] "_s));
    }

    // The language chosen in the window's menu: English messages and export header.
    void speaksTheChosenLanguage()
    {
        QTemporaryDir config;
        QSettings(config.filePath(u"Quillon/Quillon.conf"_s), QSettings::IniFormat)
            .setValue(u"interface/language"_s, u"en"_s);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const auto restore = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
        QCOMPARE(cli({u"files"_s, u"没有这张盘"_s}).err, u"quillon-cli: No record of the disc “没有这张盘”\n"_s);
        QVERIFY(cli({u"export"_s, u"文件夹"_s, u"--encoding"_s, u"utf-8"_s})
                    .out.startsWith(u"Disc\tFile Name\tSize\tDate\tPath\t\r\n"_s));
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
