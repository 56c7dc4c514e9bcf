// Browsing the catalogue: the tree of discs, listing a disc's files, re-selection while a
// disc loads, deleting a disc, and sorting the list by its headers.
#include "CatalogueFixture.h"
#include "RecordingErrorPresenter.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/DiscBrowser.h"
#include "app/FrmMain.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "ui/MyStatusBar.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestBrowser : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> m_session;
    ScriptedPrompts m_prompts;
    std::unique_ptr<TfrmMain> m_main;

    void openWindow()
    {
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
        QCoreApplication::processEvents();
    }
    QTreeWidgetItem *disc(const QString &name)
    {
        QTreeWidgetItem *root = m_main->rootNode();
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0) == name)
                return root->child(i);
        return nullptr;
    }
    QString status() const { return m_main->MyStatusBar1->Panel7->text(); }
    const std::vector<FileRow> &rows() const { return m_main->lvDetail->rows()->rows(); }
    QAction *actDel() const { return m_main->findChild<QAction *>(u"actDel"_s); }
    QStringList captions() const
    {
        QStringList out;
        for (int i = 0; i < 5; ++i)
            out << m_main->lvDetail->rows()->headerCaption(i);
        return out;
    }

private slots:
    void init()
    {
        m_session = std::make_unique<TestSession>();
        m_prompts = ScriptedPrompts();
    }

    void cleanup()
    {
        m_main.reset();
        m_session.reset();
    }

    void treeListsDiscsInNameOrder()
    {
        for (const QString &name : {u"beta"_s, u"Alpha"_s, u"光盘"_s, u"delta"_s})
            QVERIFY(m_session->data.addDisc(name) > 0);
        openWindow();
        QTreeWidgetItem *root = m_main->rootNode();
        QCOMPARE(root->text(0), u"光盘索引库"_s);
        QVERIFY(root->isExpanded());
        QStringList names;
        for (int i = 0; i < root->childCount(); ++i)
            names << root->child(i)->text(0);
        // The Chinese interface's order: Chinese names by pinyin, ahead of Latin ones.
        QCOMPARE(names, (QStringList{u"光盘"_s, u"Alpha"_s, u"beta"_s, u"delta"_s}));
        const std::optional<TDiscNode> record = DiscBrowser::discOf(disc(u"beta"_s));
        QVERIFY(record);
        QCOMPARE(record->DiskLabel, u"LABEL"_s);
        QCOMPARE(record->DiskSerial, u"1234ABCD"_s);
        QVERIFY(!DiscBrowser::discOf(root));
        // Nothing is selected yet: the list is empty and nothing can be deleted.
        QVERIFY(rows().empty());
        QVERIFY(!actDel()->isEnabled());
    }

    void selectingListsFilesAndRootClears()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        const int empty = m_session->data.addDisc(u"空盘"_s);
        QVERIFY(a > 0 && empty > 0);
        QVERIFY(m_session->data.addFile(a, u"歌.mp3"_s, u"5368709120"_s, u"2024-01-01"_s, u"\\音乐\\"_s));
        QVERIFY(m_session->data.addFile(a, u"O'Brien `x`.wav"_s, u"7"_s, u"2024-01-02 03:04:05"_s, u"\\"_s));
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        QCOMPARE(rows().size(), size_t(2));
        QCOMPARE(rows()[0], (FileRow{u"A"_s, {u"歌.mp3"_s, u"5368709120"_s, u"2024-01-01"_s, u"\\音乐\\"_s}}));
        QCOMPARE(rows()[1].sub[0], u"O'Brien `x`.wav"_s);
        QCOMPARE(status(), u"共读入:2条记录"_s);
        QVERIFY(actDel()->isEnabled());
        saveScreenshot(*m_main, u"browser"_s);

        m_main->tvCdIndex->setCurrentItem(disc(u"空盘"_s));
        QVERIFY(rows().empty());
        QCOMPARE(status(), u"共读入:0条记录"_s);

        m_main->tvCdIndex->setCurrentItem(m_main->rootNode());
        QVERIFY(rows().empty());
        QCOMPARE(status(), QString());
        QVERIFY(!actDel()->isEnabled());
        QVERIFY(m_prompts.calls.isEmpty());
    }

    void progressIsReportedWhileLoading()
    {
        const int big = m_session->data.addDisc(u"big"_s);
        QVERIFY(m_session->data.addFiles(big, 20000));
        openWindow();
        QStringList seen;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] { seen << status(); });
        probe.start(0);
        m_main->tvCdIndex->setCurrentItem(disc(u"big"_s));
        probe.stop();
        QCOMPARE(status(), u"共读入:20000条记录"_s);
        QCOMPARE(rows().size(), size_t(20000));
        // Before the first row is read the status is empty; then it counts the rows.
        seen.removeAll(QString());
        QVERIFY(!seen.isEmpty());
        // The count changes when events run; some of them may find it as it was.
        int last = 0;
        for (const QString &text : std::as_const(seen)) {
            QVERIFY2(text.startsWith(u"已读入:"_s) && text.endsWith(u"条记录"_s), qPrintable(text));
            const int k = text.mid(4, text.size() - 7).toInt();
            QVERIFY(k >= last && k > 0);
            last = k;
        }
        QVERIFY(seen.first() != u"已读入:20000条记录"_s);
    }

    void reselectionWhileLoadingEndsWithTheNewDisc()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        const int b = m_session->data.addDisc(u"B"_s);
        QVERIFY(m_session->data.addFiles(a, 20000, u"a"_s));
        QVERIFY(m_session->data.addFiles(b, 3000, u"b"_s));
        openWindow();
        bool switched = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (!switched && !rows().empty()) {
                switched = true;
                m_main->tvCdIndex->setCurrentItem(disc(u"B"_s));
            }
        });
        probe.start(0);
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        probe.stop();
        QVERIFY(switched);
        QCOMPARE(rows().size(), size_t(3000));
        for (const FileRow &row : rows())
            QCOMPARE(row.caption, u"B"_s);
        QCOMPARE(status(), u"共读入:3000条记录"_s);
    }

    void rootSelectedWhileLoadingStops()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        QVERIFY(m_session->data.addFiles(a, 20000));
        openWindow();
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (!rows().empty())
                m_main->tvCdIndex->setCurrentItem(m_main->rootNode());
        });
        probe.start(0);
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        probe.stop();
        QVERIFY(rows().empty());
        QCOMPARE(status(), QString());
        QVERIFY(!actDel()->isEnabled());
    }

    void closingWhileLoadingStops()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        QVERIFY(m_session->data.addFiles(a, 50000));
        openWindow();
        QTimer::singleShot(0, m_main.get(), [&] { m_main->close(); });
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        QVERIFY(m_main->progress().StopRequested());
        QVERIFY(rows().size() < 50000);
        // The window is usable again once the loop ended.
        QVERIFY(m_main->findChild<QAction *>(u"actFind"_s)->isEnabled());
    }

    void deleteAsksAndRemovesDiscAndFiles()
    {
        const int keep = m_session->data.addDisc(u"keep"_s);
        const int drop = m_session->data.addDisc(u"drop"_s);
        QVERIFY(m_session->data.addFiles(keep, 3));
        QVERIFY(m_session->data.addFiles(drop, 4));
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"drop"_s));

        m_prompts.confirmAnswers.enqueue(false);
        actDel()->trigger();
        QCOMPARE(m_prompts.calls.size(), 1);
        QCOMPARE(m_prompts.calls[0].kind, u"confirm"_s);
        QCOMPARE(m_prompts.calls[0].caption, u"提示窗口"_s);
        QCOMPARE(m_prompts.calls[0].text, u"确实要把drop删除吗?"_s);
        QCOMPARE(m_prompts.calls[0].icon, Prompts::Icon::Information);
        QVERIFY(disc(u"drop"_s));
        QCOMPARE(rows().size(), size_t(4));
        QCOMPARE(m_session->data.fileCount(drop), 4);

        m_prompts.confirmAnswers.enqueue(true);
        actDel()->trigger();
        QVERIFY(!disc(u"drop"_s));
        QCOMPARE(m_session->data.fileCount(drop), 0);
        QCOMPARE(m_session->data.fileCount(keep), 3);
        QCOMPARE(m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"select DiskName from CdRomListMt"_s), 1);
        // The selection moved on, and the list follows it.
        QVERIFY(m_main->tvCdIndex->currentItem());
        QVERIFY(rows().size() == 3 || rows().empty());

        // With the root selected, delete does nothing.
        m_main->tvCdIndex->setCurrentItem(m_main->rootNode());
        const int asked = int(m_prompts.calls.size());
        actDel()->trigger();
        QCOMPARE(int(m_prompts.calls.size()), asked);
    }

    void popupFollowsSelection()
    {
        QVERIFY(m_session->data.addDisc(u"A"_s) > 0);
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        QVERIFY(actDel()->isEnabled());
        m_main->tvCdIndex->setCurrentItem(m_main->rootNode());
        emit m_main->tvCdIndex->customContextMenuRequested(QPoint(5, 5));
        QVERIFY(!actDel()->isEnabled());
        m_main->pmCdIndex->hide();
    }

    void headerClicksSortAndMark()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        QVERIFY(m_session->data.addFile(a, u"b.mp3"_s, u"10"_s, u"2024-01-01"_s));
        QVERIFY(m_session->data.addFile(a, u"a.mp3"_s, u"9"_s, u"2023-12-31 10:00:00"_s));
        QVERIFY(m_session->data.addFile(a, u"C.mp3"_s, u"100"_s, u"2024-02-01"_s));
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        QHeaderView *header = m_main->lvDetail->header();

        emit header->sectionClicked(2);
        QCOMPARE(captions(), (QStringList{u"光盘名"_s, u"文件名"_s, u"大小△"_s, u"时间"_s, u"路径"_s}));
        QCOMPARE(rows()[0].sub[1], u"9"_s);
        QCOMPARE(rows()[2].sub[1], u"100"_s);
        emit header->sectionClicked(2);
        QCOMPARE(captions()[2], u"大小▽"_s);
        QCOMPARE(rows()[0].sub[1], u"100"_s);
        emit header->sectionClicked(3);
        QCOMPARE(captions(), (QStringList{u"光盘名"_s, u"文件名"_s, u"大小"_s, u"时间△"_s, u"路径"_s}));
        QCOMPARE(rows()[0].sub[2], u"2023-12-31 10:00:00"_s);
        emit header->sectionClicked(1);
        QCOMPARE(rows()[0].sub[0], u"a.mp3"_s);
        QCOMPARE(rows()[2].sub[0], u"C.mp3"_s);

        // Listing a disc again clears the marks.
        m_main->tvCdIndex->setCurrentItem(m_main->rootNode());
        QCOMPARE(captions(), (QStringList{u"光盘名"_s, u"文件名"_s, u"大小"_s, u"时间"_s, u"路径"_s}));
    }
};

QTEST_MAIN(TestBrowser)
#include "tst_browser.moc"
