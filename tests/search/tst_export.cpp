// Exporting the file list as tab-separated GB18030 text.
#include "CatalogueFixture.h"
#include "FailingDevice.h"
#include "RecordingErrorPresenter.h"
#include "RecordingProgress.h"
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/DiscBrowser.h"
#include "app/FrmMain.h"
#include "search/ExportController.h"
#include "search/FileListExport.h"
#include "store/AppError.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "ui/MyStatusBar.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

QStringList captions()
{
    return {u"光盘名"_s, u"文件名"_s, u"大小"_s, u"时间"_s, u"路径"_s};
}

void fillThree(FileRowModel &model)
{
    model.setHeaderCaptions(captions());
    const QString disc = u"碟 "_s; // the trailing blank stays
    model.appendRow({disc, {u"歌曲.mp3 "_s, u"20"_s, u"2024-05-01 12:30:00"_s, u"\\音乐\\"_s}});
    model.appendRow({disc, {u" a\tb.wav"_s, u"5368709120"_s, u"2024-05-01"_s, u"\\"_s}});
    model.appendRow({u"x"_s, {u"c\r\nd.txt"_s, u"0"_s, u"1999-12-31 23:59:59"_s, u"\\a b\\"_s}});
}

QByteArray gb18030(const QString &text)
{
    // GB2312 bytes of the few characters the tests use, checked against the code table.
    static const QList<QPair<QString, QByteArray>> table{
        {u"光盘名"_s, "\xB9\xE2\xC5\xCC\xC3\xFB"},
        {u"文件名"_s, "\xCE\xC4\xBC\xFE\xC3\xFB"},
        {u"大小"_s, "\xB4\xF3\xD0\xA1"},
        {u"时间"_s, "\xCA\xB1\xBC\xE4"},
        {u"路径"_s, "\xC2\xB7\xBE\xB6"},
        {u"碟"_s, "\xB5\xFA"},
        {u"歌曲"_s, "\xB8\xE8\xC7\xFA"},
        {u"音乐"_s, "\xD2\xF4\xC0\xD6"},
        {u"△"_s, "\xA1\xF7"},
    };
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        bool matched = false;
        for (const auto &[chars, bytes] : table) {
            if (QStringView(text).mid(i).startsWith(chars)) {
                out += bytes;
                i += chars.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            out += char(text.at(i++).toLatin1());
    }
    return out;
}

QByteArray expectedThree(const QString &header = u"光盘名\t文件名\t大小\t时间\t路径\t"_s)
{
    return gb18030(header + u"\r\n"_s + u"碟 \t歌曲.mp3\t20\t2024-05-01 12:30:00\t\\音乐\\\t\r\n"_s +
                   u"碟 \ta b.wav\t5368709120\t2024-05-01\t\\\t\r\n"_s +
                   u"x\tc  d.txt\t0\t1999-12-31 23:59:59\t\\a b\\\t\r\n"_s);
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> m_session;
    ScriptedPrompts m_prompts;
    std::unique_ptr<TfrmMain> m_main;

    QString status() const { return m_main->MyStatusBar1->Panel7->text(); }
    void exportNow() { m_main->findChild<QAction *>(u"actCDexpASC"_s)->trigger(); }

private slots:
    void init()
    {
        m_session = std::make_unique<TestSession>();
        m_prompts = ScriptedPrompts();
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
    }

    void cleanup()
    {
        m_main.reset();
        m_session.reset();
    }

    void writesHeaderAndRowsInGb18030()
    {
        FileRowModel model;
        fillThree(model);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        RecordingProgress progress;
        QCOMPARE(FileListExport::write(model, buffer, progress), 3);
        QCOMPARE(buffer.data(), expectedThree());
        QCOMPARE(progress.rangeMax, 3);
        QCOMPARE(progress.texts, (QStringList{QString(), u"已导出1条记录"_s, u"已导出2条记录"_s, u"已导出3条记录"_s}));
    }

    void charactersBeyondGbkSurvive()
    {
        FileRowModel model;
        model.setHeaderCaptions(captions());
        const QString rare = u"𠀀😀"_s;
        QString broken = u"a"_s;
        broken.append(QChar(0xD800)); // a lone surrogate from a broken file name
        broken.append(u'b');
        model.appendRow({u"€"_s, {rare, broken, u""_s, u""_s}});
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        RecordingProgress progress;
        FileListExport::write(model, buffer, progress);
        const QByteArray line = buffer.data().split('\n').at(1);
        // U+20000 and U+1F600 in GB18030's four-byte form, the euro sign in its two bytes.
        QCOMPARE(line, QByteArray("\xA2\xE3\t\x95\x32\x82\x36\x94\x39\xFC\x36\ta?b\t\t\t\r"));
    }

    void stopRequestEndsTheExport()
    {
        FileRowModel model;
        fillThree(model);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        RecordingProgress progress;
        progress.onReport = [&](int k) { progress.stop = k == 2; };
        QCOMPARE(FileListExport::write(model, buffer, progress), 2);
        QCOMPARE(buffer.data().count('\n'), 3);
    }

    void writeErrorKeepsWhatWasWritten()
    {
        FileRowModel model;
        model.setHeaderCaptions(captions());
        for (int i = 0; i < 20000; ++i)
            model.appendRow({u"disc"_s, {u"file%1.mp3"_s.arg(i), u"1"_s, u"2024-01-01"_s, u"\\"_s}});
        FailingDevice device(100000);
        RecordingProgress progress;
        try {
            FileListExport::write(model, device, progress);
            QFAIL("no error reported");
        } catch (const AppError &error) {
            QCOMPARE(error.message(), u"No space left on device"_s);
        }
        QCOMPARE(device.written.size(), 100000);
        QVERIFY(device.written.startsWith(gb18030(u"光盘名\t"_s)));
    }

    void emptyListOrCancelDoNothing()
    {
        exportNow();
        QVERIFY(m_prompts.calls.isEmpty());
        fillThree(*m_main->lvDetail->rows());
        m_main->progress().SetStatusText(u"共读入:3条记录"_s);
        exportNow();
        QCOMPARE(m_prompts.kinds(), QStringList{u"save"_s});
        QCOMPARE(m_prompts.calls.first().text, u"Txt"_s);
        QCOMPARE(m_prompts.calls.first().initial, u"ask"_s);
        QCOMPARE(m_prompts.saveFolders.first(), m_session->dm.programDir());
        QCOMPARE(status(), u"共读入:3条记录"_s);
    }

    // The save dialog starts in a folder that exists, with a name for what is exported.
    void saveDialogSuggestsANameInAnExistingFolder()
    {
        const int disc = m_session->data.addDisc(u"我的/音乐"_s);
        QVERIFY(m_session->data.addFile(disc, u"a.mp3"_s));
        m_main->browser().ReloadDiscTree();
        m_main->tvCdIndex->setCurrentItem(m_main->rootNode()->child(0));
        exportNow();
        QCOMPARE(m_prompts.saveFolders.last(), QDir(m_session->dm.programDir()).filePath(u"我的_音乐.Txt"_s));
        m_main->lvDetail->rows()->clear();
        QCOMPARE(m_main->lvDetail->rows()->title(), QString());

        // An installed program: the documents folder when there is one, else home.
        const QTemporaryDir installed;
        const QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        const QString name = u"查询结果"_s;
        QCOMPARE(ExportController::suggestedFile(installed.path(), name), home.path() + u"/查询结果.Txt"_s);
        QVERIFY(QDir(home.path()).mkdir(u"Documents"_s));
        QCOMPARE(ExportController::suggestedFile(installed.path(), name), home.path() + u"/Documents/查询结果.Txt"_s);
        QCOMPARE(ExportController::suggestedFile(installed.path(), u" .."_s), home.path() + u"/Documents/_...Txt"_s);
    }

    void exportsSortedListReplacingTheFile()
    {
        const QString target = m_session->dir.path() + u"/列表 导出.Txt"_s;
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'z'));
        old.close();
        fillThree(*m_main->lvDetail->rows());
        emit m_main->lvDetail->header()->sectionClicked(2); // by size, ascending
        m_prompts.saveAnswers.enqueue(target);
        exportNow();
        const QByteArray bytes = fileBytes(target);
        QVERIFY(bytes.startsWith(gb18030(u"光盘名\t文件名\t大小\t时间\t路径\t\r\nx\tc  d.txt\t0\t"_s)));
        QCOMPARE(bytes.count("\r\n"), 4);
        QVERIFY(!bytes.contains('z'));
        QCOMPARE(status(), u"共导出3条记录"_s);
        QVERIFY(m_main->Panel3->isEnabled());
        QCOMPARE(m_prompts.kinds(), QStringList{u"save"_s});
    }

    void unwritableFileShowsErrorAndCloses()
    {
        fillThree(*m_main->lvDetail->rows());
        m_prompts.saveAnswers.enqueue(u"/dev/full"_s);
        exportNow();
        QCOMPARE(m_prompts.kinds(), (QStringList{u"save"_s, u"critical"_s}));
        QVERIFY2(m_prompts.calls.last().text.contains(u"space"_s, Qt::CaseInsensitive),
                 qPrintable(m_prompts.calls.last().text));
        QVERIFY(m_main->Panel3->isEnabled());
        QCOMPARE(status(), u"共导出0条记录"_s); // the rows that reached the file
        QProgressBar *bar = m_main->MyStatusBar1->pbQl;
        QCOMPARE(bar->value(), bar->minimum());
        QVERIFY(m_main->findChild<QAction *>(u"actCDexpASC"_s)->isEnabled());

        m_prompts.saveAnswers.enqueue(m_session->dir.path() + u"/no such folder/x.Txt"_s);
        exportNow();
        QCOMPARE(m_prompts.calls.last().kind, u"critical"_s);
        QCOMPARE(status(), u"共导出0条记录"_s);
    }

    // A write that fails part-way (here the file-size limit) leaves the previous export
    // as it was and no temporary file behind; a stop keeps the rows written before it.
    // The status counts the rows that reached the file.
    void previousExportSurvivesAFailedOne()
    {
        const QString target = m_session->dir.path() + u"/导出.Txt"_s;
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous");
        old.close();
        FileRowModel &rows = *m_main->lvDetail->rows();
        for (int i = 0; i < 20000; ++i)
            rows.appendRow({u"disc"_s, {u"file%1.mp3"_s.arg(i), u"1"_s, u"2024-01-01"_s, u"\\"_s}});
        m_prompts.saveAnswers.enqueue(target);
        {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit saved {};
            QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
            struct rlimit small = saved;
            small.rlim_cur = 100000;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
            exportNow();
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        }
        QCOMPARE(m_prompts.kinds(), (QStringList{u"save"_s, u"critical"_s}));
        QCOMPARE(fileBytes(target), QByteArray("previous"));
        QCOMPARE(QDir(m_session->dir.path()).entryList({u"导出.Txt*"_s}, QDir::Files | QDir::Hidden).size(), 1);
        QCOMPARE(status(), u"共导出0条记录"_s);

        m_prompts.saveAnswers.enqueue(target);
        QTimer::singleShot(0, this, [this] { m_main->progress().RequestStop(); });
        exportNow();
        QCOMPARE(fileBytes(target).count("\r\n"), 2);
        QCOMPARE(status(), u"共导出1条记录"_s);
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
