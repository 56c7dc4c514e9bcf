// Searching the catalogue: the column selector, the conditions, the dialog, and the found
// records listed with their disc names.
#include "CatalogueFixture.h"
#include "RecordingErrorPresenter.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/FrmMain.h"
#include "search/FrmSearch.h"
#include "search/SearchListBox.h"
#include "store/Catalogue.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/SearchStatement.h"
#include "ui/MyStatusBar.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestSearch : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> m_session;
    ScriptedPrompts m_prompts;
    std::unique_ptr<TfrmMain> m_main;

    QString status() const { return m_main->MyStatusBar1->Panel7->text(); }
    std::vector<FileRow> rows() const { return m_main->lvDetail->rows()->allRows(); }
    QAction *actFind() const { return m_main->findChild<QAction *>(u"actFind"_s); }

    // Runs a search through the dialog: the text, the columns (by index) to tick, and
    // whether to press "查询(&F)" or "取消(&C)".
    void search(const QString &text, const QList<int> &columns = {0}, bool find = true)
    {
        bool findDisabledMeanwhile = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<TfrmSearch *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            findDisabledMeanwhile = !actFind()->isEnabled();
            dialog->edtQlSearch->setText(text);
            dialog->slbQL->UncheckAll();
            for (int column : columns)
                dialog->slbQL->item(column)->setCheckState(Qt::Checked);
            (find ? dialog->btnFind : dialog->btnCancel)->click();
        });
        actFind()->trigger();
        QVERIFY(findDisabledMeanwhile);
        QVERIFY(actFind()->isEnabled());
        // Every search leaves the search query closed with its base statement.
        QVERIFY(!m_session->dm.aqryQuery->Active());
        QCOMPARE(m_session->dm.aqryQuery->SQL(),
                 (QStringList{u"select DiskCode, FileData, FileName, FilePath, FileSize"_s, u"  from CdRomListDt"_s}));
        QVERIFY(m_session->dm.aqryQuery->Params().isEmpty());
    }

    QStringList foundNames() const
    {
        QStringList names;
        for (const FileRow &row : rows())
            names << row.sub[0];
        names.sort();
        return names;
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

    void patternsAreLiteralButForTheWildcard()
    {
        QCOMPARE(SearchCondition::pattern(u"  mp3\t"_s), u"%MP3%"_s);
        QCOMPARE(SearchCondition::pattern(u"a*b"_s), u"%A%B%"_s);
        QCOMPARE(SearchCondition::pattern(u"*"_s), u"%%%"_s);
        QCOMPARE(SearchCondition::pattern(u"100%_x\\"_s), u"%100\\%\\_X\\\\%"_s);
        QCOMPARE(SearchCondition::pattern(u"O'Brien 歌曲 Ärger"_s), u"%O'BRIEN 歌曲 ÄRGER%"_s);
        QCOMPARE(SearchCondition::pattern(u" \t "_s), QString());
        QCOMPARE(SearchStatement::condition(FileSearchRequest::Column::FileName),
                 u"(length(FileName) >= ? and UCase(FileName) like ? escape '\\')"_s);
        // A value shorter than the pattern's characters (wildcards aside) cannot match.
        QCOMPARE(SearchCondition::minimumLength(SearchCondition::pattern(u"*f*f 100%_x\\"_s)), 10);
        QCOMPARE(SearchCondition::minimumLength(SearchCondition::pattern(u"音😀"_s)), 2);
        // The conditions of the columns in the list's order, then those on pinyin; none for no text.
        const auto conditions = SearchStatement::conditions(FileSearchRequest::forText(
            u"ab"_s, {FileSearchRequest::Column::FileSize, FileSearchRequest::Column::FilePath}, true));
        QCOMPARE(conditions.text.count(u") or ("_s), 2);
        QVERIFY(conditions.text.startsWith(u" (length(FileSize)"_s));
        QVERIFY(conditions.text.endsWith(u"Pinyin(FilePath, 1) like ? escape '\\') "_s));
        QCOMPARE(conditions.values, (QVariantList{2, u"%AB%"_s, 2, u"%AB%"_s, u"%AB%"_s, u"%AB%"_s}));
        QCOMPARE(SearchStatement::conditions(
                     FileSearchRequest::forText(u" "_s, {FileSearchRequest::Column::FileName}, true)),
                 SearchStatement::Conditions());
    }

    void selectorOffersTheSearchableFields()
    {
        TSearchListBox box;
        QSignalSpy events(&box, &TSearchListBox::OnItemClickCheck);
        box.setADODataSet(m_session->dm.aqryQuery);
        QCOMPARE(box.count(), 4);
        QStringList labels;
        for (int i = 0; i < box.count(); ++i)
            labels << box.item(i)->text();
        QCOMPARE(labels, (QStringList{u"文件名"_s, u"大小"_s, u"时间"_s, u"路径"_s}));
        QCOMPARE(box.FieldNames(), (QStringList{u"FileName"_s, u"FileSize"_s, u"FileData"_s, u"FilePath"_s}));
        QCOMPARE(&box.SQL(), &m_session->dm.aqryQuery->SQL());

        box.SetItemChecked(0, true);
        QCOMPARE(events.size(), 0);
        box.item(2)->setCheckState(Qt::Checked); // the user ticks item 2
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.takeFirst(), (QVariantList{QVariant::fromValue<QObject *>(&box), 2, true}));
        box.item(2)->setCheckState(Qt::Unchecked);
        QCOMPARE(events.takeFirst().at(2).toBool(), false);

        box.CheckAll();
        QCOMPARE(events.size(), 3); // items 1, 2, 3
        QCOMPARE(events.at(0).at(1).toInt(), 1);
        box.CheckAll();
        QCOMPARE(events.size(), 3);
        box.UncheckAll();
        QCOMPARE(events.size(), 7);
        box.UncheckAll();
        QCOMPARE(events.size(), 7);

        box.SetItemChecked(3, true);
        box.setADODataSet(m_session->dm.aqryQuery); // the same query: marks stay
        QVERIFY(box.isChecked(3));
        box.setADODataSet(nullptr);
        QCOMPARE(box.count(), 0);
    }

    void dialogStartsWithFileNameTicked()
    {
        TfrmSearch dialog(*m_session->dm.aqryQuery, m_session->dm.catalogue(), m_prompts);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), u"查询"_s);
        QCOMPARE(dialog.size(), QSize(268, 271));
        QCOMPARE(dialog.GroupBox1->title(), u"查找"_s);
        QCOMPARE(dialog.GroupBox2->title(), u"需要查找的字段"_s);
        QCOMPARE(dialog.btnFind->text(), u"查询(&F)"_s);
        QVERIFY(dialog.btnFind->isDefault());
        QCOMPARE(dialog.btnCancel->geometry(), QRect(146, 103, 87, 29));
        QVERIFY(dialog.slbQL->isChecked(0));
        QVERIFY(!dialog.slbQL->isChecked(1));
        QCOMPARE(dialog.conditions(), TfrmSearch::ConditionList(4));
        QVERIFY(dialog.edtQlSearch->text().isEmpty());

        dialog.edtQlSearch->setText(u"mp3"_s);
        dialog.slbQL->item(3)->setCheckState(Qt::Checked);
        QCOMPARE(dialog.JoinConditions(), u" (length(FileName) >= ? and UCase(FileName) like ? escape '\\') or "
                                          "(length(FilePath) >= ? and UCase(FilePath) like ? escape '\\') "_s);
        QCOMPARE(dialog.conditionValues(), (QVariantList{3, u"%MP3%"_s, 3, u"%MP3%"_s}));
        dialog.edtQlSearch->setText(u"   "_s);
        QCOMPARE(dialog.JoinConditions(), QString());
        saveScreenshot(dialog, u"search-dialog"_s);
    }

    void searchListsHitsWithDiscNames()
    {
        const int a = m_session->data.addDisc(u"碟甲"_s);
        const int b = m_session->data.addDisc(u"碟乙"_s);
        QVERIFY(m_session->data.addFile(a, u"Song.MP3"_s, u"10"_s, u"2024-01-01"_s, u"\\音乐\\"_s));
        QVERIFY(m_session->data.addFile(a, u"notes.txt"_s, u"20"_s, u"2024-01-01"_s, u"\\mp3 docs\\"_s));
        QVERIFY(m_session->data.addFile(b, u"歌曲.mp3"_s));
        QVERIFY(m_session->data.addFile(b, u"O'Brien 100%_x.wav"_s));
        QVERIFY(m_session->data.addFile(b, u"O'Brien 100ax.wav"_s));
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
        // A disc catalogued after the tree was built has no node: its hits have no name.
        const int late = m_session->data.addDisc(u"迟到"_s);
        QVERIFY(m_session->data.addFile(late, u"late.mp3"_s));

        // The hits come in the catalogue's order: no column keeps the mark of the sort before.
        emit m_main->lvDetail->header()->sectionClicked(4);
        search(u"mp3"_s);
        QCOMPARE(foundNames(), (QStringList{u"Song.MP3"_s, u"late.mp3"_s, u"歌曲.mp3"_s}));
        QCOMPARE(status(), u"共查到:3条记录"_s);
        QCOMPARE(m_main->lvDetail->rows()->headerCaption(4), u"路径"_s);
        for (const FileRow &row : rows())
            QCOMPARE(row.caption, row.sub[0] == u"Song.MP3"_s   ? u"碟甲"_s
                                  : row.sub[0] == u"歌曲.mp3"_s ? u"碟乙"_s
                                                                : QString());
        saveScreenshot(*m_main, u"search-result"_s);

        search(u"MP3"_s, {0, 3});
        QCOMPARE(rows().size(), size_t(4));
        search(u"*"_s);
        QCOMPARE(rows().size(), size_t(6));
        search(QString());
        QCOMPARE(rows().size(), size_t(6));
        QCOMPARE(status(), u"共查到:6条记录"_s);
        search(u"s*g"_s);
        QCOMPARE(foundNames(), QStringList{u"Song.MP3"_s});
        search(u"歌"_s);
        QCOMPARE(foundNames(), QStringList{u"歌曲.mp3"_s});
        search(u"o'brien 100%_"_s);
        QCOMPARE(foundNames(), QStringList{u"O'Brien 100%_x.wav"_s});
        search(u"2024-01-01"_s, {2});
        QCOMPARE(rows().size(), size_t(2));
        QVERIFY(m_session->presenter.calls.isEmpty());
        QVERIFY(m_prompts.calls.isEmpty());
    }

    // While the hits are listed, a click on a disc in the tree does nothing: the list ends
    // with the hits alone.
    void treeIsHeldOffWhileHitsAreListed()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        for (int i = 0; i < 50; ++i)
            QVERIFY(m_session->data.addFile(a, u"hit%1.mp3"_s.arg(i)));
        QVERIFY(m_session->data.addFile(a, u"other.txt"_s));
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
        QTreeWidget *tree = m_main->tvCdIndex;
        bool treeDisabled = false;
        connect(m_main->lvDetail->rows(), &QAbstractItemModel::modelReset, this, [&] {
            if (treeDisabled || tree->currentItem() != m_main->rootNode())
                return;
            treeDisabled = !tree->isEnabledTo(m_main.get());
            QTreeWidgetItem *disc = m_main->rootNode()->child(0);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(disc).center());
        });
        tree->setCurrentItem(m_main->rootNode());
        search(u"hit"_s);
        QVERIFY(treeDisabled);
        QCOMPARE(rows().size(), size_t(50));
        QCOMPARE(status(), u"共查到:50条记录"_s);
        QVERIFY(tree->isEnabledTo(m_main.get()));
    }

    // A search the engine refuses shows its message, empties the list and leaves the
    // statement as it was, so the next try in the same dialog finds.
    void refusedSearchCanBeTriedAgain()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        QVERIFY(m_session->data.addFile(a, u"a.mp3"_s));
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
        search(u"mp3"_s);
        QCOMPARE(rows().size(), size_t(1));
        const auto renameFiles = [this](const QString &from, const QString &to) {
            QSqlQuery alter(QSqlDatabase::database(m_session->dm.aConQl.connectionName()));
            QVERIFY(alter.exec(u"alter table %1 rename to %2"_s.arg(from, to)));
        };
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<TfrmSearch *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->edtQlSearch->setText(u"mp3"_s);
            renameFiles(u"CdRomListDt"_s, u"Hidden"_s);
            dialog->btnFind->click();
            QVERIFY(dialog->isVisible());
            QCOMPARE(m_prompts.kinds(), QStringList{u"critical"_s});
            QVERIFY(m_prompts.calls.first().text.contains(u"CdRomListDt"_s));
            QVERIFY(rows().empty());
            QCOMPARE(m_session->dm.aqryQuery->SQL().size(), 2);
            renameFiles(u"Hidden"_s, u"CdRomListDt"_s);
            dialog->btnFind->click();
        });
        actFind()->trigger();
        QCOMPARE(rows().size(), size_t(1));
        QCOMPARE(status(), u"共查到:1条记录"_s);
    }

    void noHitsAndCancelledSearches()
    {
        const int a = m_session->data.addDisc(u"A"_s);
        QVERIFY(m_session->data.addFile(a, u"a.mp3"_s));
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
        search(u"mp3"_s);
        QCOMPARE(rows().size(), size_t(1));

        search(u"mp3"_s, {}, true); // "全无", then "查询(&F)": nothing is searched
        QCOMPARE(rows().size(), size_t(1));
        search(u"zzz"_s, {0}, false); // cancelled
        QCOMPARE(rows().size(), size_t(1));
        QCOMPARE(status(), u"共查到:1条记录"_s);

        search(u"zzz"_s);
        QVERIFY(rows().empty());
        QCOMPARE(status(), u"共查到:0条记录"_s);
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
