// Browsing the catalogue: the tree of discs, listing a disc's files, re-selection while a
// disc loads, deleting a disc, and sorting the list by its headers.
#include "CatalogueFixture.h"
#include "RecordingErrorPresenter.h"
#include "RecordingProgress.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/DiscBrowser.h"
#include "app/FrmMain.h"
#include "search/FileListExport.h"
#include "store/Catalogue.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "ui/MyStatusBar.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QAction>
#include <QBuffer>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSqlDatabase>
#include <QSqlQuery>
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
    std::vector<FileRow> rows() const { return m_main->lvDetail->rows()->allRows(); }
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

    // A disc's keys are read at once: the list is complete when its count shows, and a
    // selection made after it lists the new disc alone.
    void listAppearsAtOnceAndFollowsTheSelection()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        const int b = m_session->data.addDisc(u"B"_s);
        QVERIFY(m_session->data.addFiles(a, 20000, u"a"_s));
        QVERIFY(m_session->data.addFiles(b, 3000, u"b"_s));
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        QCOMPARE(status(), u"共读入:20000条记录"_s);
        QCOMPARE(m_main->lvDetail->rows()->rowCount(), 20000);
        QCOMPARE(m_main->lvDetail->rows()->row(19999).sub[0].left(1), u"a"_s);
        m_main->tvCdIndex->setCurrentItem(disc(u"B"_s));
        QCOMPARE(rows().size(), size_t(3000));
        for (const FileRow &row : rows())
            QCOMPARE(row.caption, u"B"_s);
        QCOMPARE(status(), u"共读入:3000条记录"_s);
    }

    // The export of a sorted list of keys writes its rows in the order on screen.
    void exportOfASortedListWritesTheSortedOrder()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        for (const QString &name : {u"b.mp3"_s, u"c.mp3"_s, u"a.mp3"_s})
            QVERIFY(m_session->data.addFile(a, name));
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        emit m_main->lvDetail->header()->sectionClicked(1);
        emit m_main->lvDetail->header()->sectionClicked(1);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        RecordingProgress progress;
        QCOMPARE(FileListExport::write(*m_main->lvDetail->rows(), out, progress, FileListExport::Encoding::Utf8), 3);
        const QList<QByteArray> lines = out.data().split('\n');
        QVERIFY(lines.size() >= 4);
        QVERIFY(lines[1].startsWith("A\tc.mp3\t"));
        QVERIFY(lines[2].startsWith("A\tb.mp3\t"));
        QVERIFY(lines[3].startsWith("A\ta.mp3\t"));
    }

    // A disc deleted by another program while its rows are listed: its rows show as removed,
    // never as another record's texts. A failing read says the engine's message once.
    void goneRecordsShowAsRemovedAndAFailedReadIsSaidOnce()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        QVERIFY(m_session->data.addFiles(a, 300));
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"A"_s));
        FileRowModel &list = *m_main->lvDetail->rows();
        QSqlQuery remove(QSqlDatabase::database(m_session->dm.aConQl.connectionName()));
        QVERIFY(remove.exec(u"delete from CdRomListDt where rowid in (select rowid from CdRomListDt "
                            "where DiskCode = %1 order by rowid limit 2 offset 200)"_s.arg(a)));
        // Sorting reads the column anew: the gone rows sort as empty texts, first.
        emit m_main->lvDetail->header()->sectionClicked(1);
        QCOMPARE(list.rowCount(), 300);
        QCOMPARE(list.row(0), (FileRow{QString(), {FileRowModel::removedText(), {}, {}, {}}}));
        QCOMPARE(list.row(1).sub[0], FileRowModel::removedText());
        QCOMPARE(list.row(2).caption, u"A"_s);
        QCOMPARE(status(), u"共读入:300条记录"_s);

        m_session->dm.catalogue().setReadFault(u"disk I/O error"_s);
        m_main->lvDetail->scrollToBottom();
        QCoreApplication::processEvents();
        QCOMPARE(list.row(299), FileRow{});
        QCoreApplication::processEvents();
        QCOMPARE(m_prompts.calls.size(), 1);
        QCOMPARE(m_prompts.calls[0].kind, u"critical"_s);
        QCOMPARE(m_prompts.calls[0].text, u"disk I/O error"_s);
        m_session->dm.catalogue().setReadFault(QString());
        QCOMPARE(list.row(299).caption, u"A"_s);
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
