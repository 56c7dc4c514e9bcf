// The category editor: its window, the editing of categories and masks, what the
// catalogue holds afterwards, and refused store steps.
#include "RecordingErrorPresenter.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestProgramDir.h"
#include "app/FrmMain.h"
#include "categories/CategoryChooser.h"
#include "import/ExtEdition.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
struct Seed {
    QString name;
    QStringList masks;
};
const QStringList kActions{u"actAdd"_s, u"actEdit"_s, u"actDel"_s, u"actDAdd"_s, u"actDEdit"_s, u"actDErase"_s};
const QStringList kCategoryActions{u"actAdd"_s, u"actEdit"_s, u"actDel"_s, u"actDAdd"_s};
} // namespace

class TestExtEdition : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> m_dir;
    RecordingErrorPresenter m_presenter;
    std::unique_ptr<TLCommFunction> m_comm;
    std::unique_ptr<TLCommBusiness> m_business;
    std::unique_ptr<TdmQL> m_dm;
    ScriptedPrompts m_prompts;
    std::unique_ptr<TfrmExtEdition> m_dlg;

    // Runs a statement on the catalogue through the program's own connection.
    void exec(const QString &statement, const QVariantList &values = {})
    {
        QVERIFY2(m_comm->ExecSql(*m_dm->aqryTempFind, statement, values), qPrintable(statement));
    }

    void seed(const QList<Seed> &categories)
    {
        for (const Seed &category : categories) {
            exec(u"insert into extMt (extName) values (?)"_s, {category.name});
            for (const QString &mask : category.masks)
                exec(u"insert into extDt (extCode, extDetailInfo) values (?, ?)"_s, {storedCodes().last(), mask});
        }
    }

    // The first column of a statement's rows.
    QVariantList column(const QString &statement, const QVariantList &values = {})
    {
        QVariantList out;
        TQuery &query = *m_dm->aqryTempFind;
        m_comm->OpenSql(query, statement, values);
        for (query.First(); query.Active() && !query.Eof(); query.Next())
            out.append(query.FieldByName(query.columnNames().first()).Value());
        query.Close();
        return out;
    }

    QList<qint64> storedCodes()
    {
        QList<qint64> codes;
        for (const QVariant &code : column(u"select extCode from extMt order by extCode"_s))
            codes.append(code.toLongLong());
        return codes;
    }
    QStringList texts(const QVariantList &values) const
    {
        QStringList out;
        for (const QVariant &value : values)
            out.append(value.toString());
        return out;
    }
    QStringList storedNames() { return texts(column(u"select extName from extMt order by extCode"_s)); }
    QStringList storedMasks(qint64 code)
    {
        return texts(column(u"select extDetailInfo from extDt where extCode = ? order by rowid"_s, {code}));
    }
    int maskRows() { return int(column(u"select rowid from extDt"_s).size()); }

    void open()
    {
        m_dlg = std::make_unique<TfrmExtEdition>(*m_dm, *m_comm, m_prompts);
        m_dlg->SetMode(1);
        m_dlg->show();
        QCoreApplication::processEvents();
    }

    QStringList comboEntries() const
    {
        QStringList out;
        for (int i = 0; i < m_dlg->cbCatalog->count(); ++i)
            out.append(m_dlg->cbCatalog->itemText(i));
        return out;
    }
    QStringList maskEntries() const
    {
        QStringList out;
        for (int i = 0; i < m_dlg->lbCatalog->count(); ++i)
            out.append(m_dlg->lbCatalog->item(i)->text());
        return out;
    }
    int selectedMask() const
    {
        const QList<QListWidgetItem *> items = m_dlg->lbCatalog->selectedItems();
        return items.isEmpty() ? -1 : m_dlg->lbCatalog->row(items.first());
    }
    QStringList enabledActions() const
    {
        QStringList out;
        for (const QString &name : kActions)
            if (m_dlg->findChild<QAction *>(name)->isEnabled())
                out.append(name);
        return out;
    }
    bool maskButtonsEnabled() const { return m_dlg->actDEdit->isEnabled() && m_dlg->actDErase->isEnabled(); }

    // The user runs an action and confirms the input box with answer (a null answer cancels it).
    void act(const char *action, const QString &answer = QString())
    {
        if (!answer.isNull())
            m_prompts.inputAnswers.enqueue(answer);
        m_dlg->findChild<QAction *>(QLatin1StringView(action))->trigger();
    }
    void verifyLastInput(const QString &caption, const QString &prompt, const QString &initial)
    {
        QVERIFY(!m_prompts.calls.isEmpty());
        const ScriptedPrompts::Call &call = m_prompts.calls.last();
        QCOMPARE(call.kind, u"input"_s);
        QCOMPARE(call.caption, caption);
        QCOMPARE(call.text, prompt);
        QCOMPARE(call.initial, initial);
    }

    // The user picks a category in the drop-down list.
    void choose(int index)
    {
        m_dlg->cbCatalog->setCurrentIndex(index);
        emit m_dlg->cbCatalog->activated(index);
    }
    // The user clicks a mask: the list is entered and the mask selected.
    void chooseMask(int row)
    {
        m_dlg->chooser->lbCatalogEnter();
        m_dlg->lbCatalog->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }

    // Both lists show exactly what the catalogue holds, entry by entry.
    void verifyListsMatchCatalogue()
    {
        QCOMPARE(comboEntries(), storedNames());
        QList<qint64> codes;
        for (int i = 0; i < m_dlg->cbCatalog->count(); ++i)
            codes.append(m_dlg->cbCatalog->itemData(i).toLongLong());
        QCOMPARE(codes, storedCodes());
        const int index = m_dlg->cbCatalog->currentIndex();
        QCOMPARE(maskEntries(), index < 0 ? QStringList() : storedMasks(codes[index]));
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<TestProgramDir>(TestProgramDir::Catalogue::Empty);
        m_presenter.calls.clear();
        m_comm = std::make_unique<TLCommFunction>(&m_presenter);
        m_business = std::make_unique<TLCommBusiness>(*m_comm);
        m_dm = std::make_unique<TdmQL>(m_dir->path(), *m_comm, *m_business);
        QVERIFY(m_dm->Connected());
        m_prompts = ScriptedPrompts();
    }

    void cleanup()
    {
        m_dlg.reset();
        m_dm.reset();
        m_dir.reset();
    }

    void editorWindow()
    {
        m_dlg = std::make_unique<TfrmExtEdition>(*m_dm, *m_comm, m_prompts);
        QCOMPARE(enabledActions(), kCategoryActions);
        QVERIFY(m_dlg->Mode == 0 && !m_dlg->Accepted && !m_dlg->Scanning);
        m_dlg->SetMode(1);
        QCOMPARE(m_dlg->Mode, 1);
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s}}, {u"视频"_s, {u"*.mkv"_s}}});
        m_dlg->show();
        QCoreApplication::processEvents();
        QVERIFY(m_dlg->Accepted);

        QCOMPARE(m_dlg->windowTitle(), u"扩展名编辑"_s);
        QCOMPARE(m_dlg->size(), QSize(359, 382));
        QCOMPARE(m_dlg->minimumSize(), m_dlg->maximumSize());
        QVERIFY(!(m_dlg->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(m_dlg->windowFlags() & Qt::WindowCloseButtonHint);

        const QList<QAction *> menus = m_dlg->mmExt->actions();
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus[0]->text(), u"菜单(&c)"_s);
        QStringList items;
        for (const QAction *action : menus[0]->menu()->actions())
            items.append(action->objectName() + u'=' + action->text());
        QCOMPARE(items, (QStringList{u"actAdd=添加名称(&A)"_s, u"actEdit=修改名称(&E)"_s, u"actDel=删除名称(&D)"_s}));

        QCOMPARE(m_dlg->pnlLeft->width(), 238);
        QCOMPARE(m_dlg->Label1->text(), u"扩展名称："_s);
        QCOMPARE(m_dlg->Label1->pos(), QPoint(16, 7));
        QCOMPARE(m_dlg->Label2->text(), u"文件扩展名："_s);
        QCOMPARE(m_dlg->Label2->pos(), QPoint(16, 9));
        QVERIFY(!m_dlg->cbCatalog->isEditable());
        QCOMPARE(m_dlg->cbCatalog->pos(), QPoint(16, 26));
        QCOMPARE(m_dlg->cbCatalog->width(), 203);
        QCOMPARE(m_dlg->lbCatalog->selectionMode(), QAbstractItemView::SingleSelection);
        // The list reaches to 8 pixels above its panel's bottom.
        QCOMPARE(m_dlg->lbCatalog->geometry(), QRect(16, 28, 203, m_dlg->pnlMask->height() - 28 - 8));
        QVERIFY(m_dlg->lbCatalog->height() > 200);

        const QStringList buttons{u"btnDAdd=增加"_s, u"btnDEdit=修改"_s, u"btnDErase=删除"_s};
        for (int i = 0; i < 3; ++i) {
            auto *button = m_dlg->findChild<QPushButton *>(buttons[i].section(u'=', 0, 0));
            QCOMPARE(button->text(), buttons[i].section(u'=', 1));
            QCOMPARE(button->geometry(), QRect(12, 82 + 30 * i, 93, button->height()));
            QCOMPARE(button->parentWidget()->x(), 238);
            QCOMPARE(button->isEnabled(), i == 0);
        }

        QCOMPARE(comboEntries(), (QStringList{u"音乐"_s, u"视频"_s}));
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 0);
        QCOMPARE(maskEntries(), (QStringList{u"*.mp3"_s, u"*.wav"_s}));
        QCOMPARE(selectedMask(), -1);
        QCOMPARE(enabledActions(), kCategoryActions);

        // A click on "删除" deletes the selected mask.
        chooseMask(1);
        auto *erase = m_dlg->findChild<QPushButton *>(u"btnDErase"_s);
        QVERIFY(erase->isEnabled());
        saveScreenshot(*m_dlg, u"ext-edition"_s);
        QTest::mouseClick(erase, Qt::LeftButton);
        QCOMPARE(storedMasks(storedCodes()[0]), QStringList{u"*.mp3"_s});

        // The close box always closes the editor.
        QVERIFY(m_dlg->close());
    }

    void emptyCatalogueAndTheFirstCategory()
    {
        open();
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), -1);
        QVERIFY(comboEntries().isEmpty() && maskEntries().isEmpty());
        QCOMPARE(enabledActions(), QStringList{u"actAdd"_s});

        act("actAdd"); // cancelled: nothing changes
        QVERIFY(comboEntries().isEmpty() && storedNames().isEmpty());

        act("actAdd", u"音乐"_s);
        verifyLastInput(u"新的名称"_s, u"请在输入框内输入新的名称.        "_s, QString());
        QCOMPARE(storedNames(), QStringList{u"音乐"_s});
        QCOMPARE(comboEntries(), QStringList{u"音乐"_s});
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 0);
        QVERIFY(maskEntries().isEmpty());
        QCOMPARE(enabledActions(), kCategoryActions);
        QVERIFY(m_presenter.calls.isEmpty());
    }

    void namesAreStoredTrimmed()
    {
        open();
        act("actAdd", u"  爵士 乐\t "_s);
        QCOMPARE(storedNames(), QStringList{u"爵士 乐"_s});
        QCOMPARE(comboEntries(), QStringList{u"爵士 乐"_s});
        act("actEdit", u" 爵士 "_s);
        act("actAdd", u"   "_s); // an empty name is allowed
        QCOMPARE(storedNames(), (QStringList{u"爵士"_s, QString()}));
        verifyListsMatchCatalogue();
    }

    void addingKeepsTheSelectedCategory()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s}}, {u"视频"_s, {u"*.mkv"_s}}});
        open();
        QTest::keyClick(m_dlg->cbCatalog, Qt::Key_Down); // the user picks the next category
        QCOMPARE(maskEntries(), QStringList{u"*.mkv"_s});
        act("actAdd", u"图片"_s);
        QCOMPARE(comboEntries(), (QStringList{u"音乐"_s, u"视频"_s, u"图片"_s}));
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 1);
        QCOMPARE(maskEntries(), QStringList{u"*.mkv"_s});

        // Renaming and deleting act on the selected category, not on the new one.
        act("actEdit", u"电影"_s);
        QCOMPARE(storedNames(), (QStringList{u"音乐"_s, u"电影"_s, u"图片"_s}));
        act("actDel");
        QCOMPARE(storedNames(), (QStringList{u"音乐"_s, u"图片"_s}));
        // The entry at the same position becomes the selected one, with its masks.
        QCOMPARE(m_dlg->cbCatalog->currentText(), u"图片"_s);
        verifyListsMatchCatalogue();
    }

    void renamingComparesTheExactText()
    {
        seed({{u"Music"_s, {u"*.mp3"_s}}});
        open();
        act("actEdit", u"Music"_s);
        verifyLastInput(u"新的名称"_s, u"请在输入框内输入修改后的名称."_s, u"Music"_s);
        QCOMPARE(storedNames(), QStringList{u"Music"_s});

        act("actEdit", u"music"_s);
        QCOMPARE(storedNames(), QStringList{u"music"_s});
        QCOMPARE(comboEntries(), QStringList{u"music"_s});
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 0);
        QCOMPARE(maskEntries(), QStringList{u"*.mp3"_s});
        act("actEdit"); // cancelled
        QCOMPARE(storedNames(), QStringList{u"music"_s});
    }

    void deletingCategories()
    {
        seed({{u"甲"_s, {u"*.a"_s}}, {u"乙"_s, {u"*.b"_s}}, {u"丙"_s, {u"*.c1"_s, u"*.c2"_s}}});
        open();
        choose(2);
        chooseMask(0);
        // Deleting the last entry selects the new last one and shows its masks.
        act("actDel");
        QCOMPARE(comboEntries(), (QStringList{u"甲"_s, u"乙"_s}));
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 1);
        QCOMPARE(maskEntries(), QStringList{u"*.b"_s});
        QCOMPARE(enabledActions(), kCategoryActions);
        QCOMPARE(maskRows(), 2); // the deleted category's masks went with it

        act("actDel");
        act("actDel");
        QVERIFY(comboEntries().isEmpty() && maskEntries().isEmpty());
        QCOMPARE(enabledActions(), QStringList{u"actAdd"_s});
        QVERIFY(storedNames().isEmpty());
        QCOMPARE(maskRows(), 0);
        QVERIFY(m_presenter.calls.isEmpty());

        // A new first category starts with no masks and takes new ones.
        act("actAdd", u"丁"_s);
        QVERIFY(maskEntries().isEmpty());
        act("actDAdd", u"*.d"_s);
        verifyListsMatchCatalogue();
        QCOMPARE(maskEntries(), QStringList{u"*.d"_s});
    }

    void addingMasks()
    {
        seed({{u"音乐"_s, {}}});
        open();
        const qint64 code = storedCodes().constFirst();
        const QString empty = u""_s;
        QVERIFY(!empty.isNull()); // confirmed, not cancelled
        act("actDAdd", empty);
        verifyLastInput(u"新的文件扩展名"_s, u"请在输入框内输入新的扩展名，abc. *.dat"_s, QString());
        QCOMPARE(maskRows(), 0);
        QVERIFY(maskEntries().isEmpty());

        act("actDAdd", u"  *.mp3 "_s);
        QCOMPARE(maskEntries(), QStringList{u"*.mp3"_s});
        QCOMPARE(selectedMask(), 0);
        QVERIFY(maskButtonsEnabled());

        // Blanks alone are not an empty text: they store an empty mask.
        act("actDAdd", u"   "_s);
        act("actDAdd", u"readme.txt"_s);
        QCOMPARE(storedMasks(code), (QStringList{u"*.mp3"_s, QString(), u"readme.txt"_s}));
        QCOMPARE(maskEntries(), storedMasks(code));
        QCOMPARE(selectedMask(), 0);
        act("actDAdd"); // cancelled
        QCOMPARE(maskRows(), 3);
    }

    void changingAndErasingMasks()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s, u"*.ape"_s}}});
        open();
        const qint64 code = storedCodes().constFirst();
        chooseMask(1);
        act("actDEdit", u"*.wav"_s);
        verifyLastInput(u"新的名称"_s, u"请在输入框内输入修改后的名称."_s, u"*.wav"_s);
        act("actDEdit", u" *.WAV "_s);
        QCOMPARE(storedMasks(code), (QStringList{u"*.mp3"_s, u"*.WAV"_s, u"*.ape"_s}));
        QCOMPARE(maskEntries(), storedMasks(code));
        QCOMPARE(selectedMask(), 1);

        act("actDErase");
        QCOMPARE(storedMasks(code), (QStringList{u"*.mp3"_s, u"*.ape"_s}));
        QCOMPARE(selectedMask(), 1);
        act("actDErase");
        QCOMPARE(selectedMask(), 0);
        act("actDErase");
        QVERIFY(maskEntries().isEmpty() && storedMasks(code).isEmpty());
        QVERIFY(!m_dlg->actDEdit->isEnabled() && !m_dlg->actDErase->isEnabled());
    }

    void enteringAndLeavingTheMaskList()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s}}, {u"空"_s, {}}});
        open();
        m_dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
        QListWidget *list = m_dlg->lbCatalog;
        QComboBox *combo = m_dlg->cbCatalog;
        combo->setFocus(Qt::OtherFocusReason);
        QVERIFY(!m_dlg->actDEdit->isEnabled());

        // Entering a list without a selection selects the first mask.
        list->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(selectedMask(), 0);
        QVERIFY(maskButtonsEnabled());

        // Tabbing out and in again keeps the selected mask.
        list->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        combo->setFocus(Qt::BacktabFocusReason);
        QVERIFY(maskButtonsEnabled());
        list->setFocus(Qt::TabFocusReason);
        QCOMPARE(selectedMask(), 1);

        // Choosing a category disables both; an empty list has nothing to select.
        combo->setFocus(Qt::BacktabFocusReason);
        choose(1);
        QVERIFY(!m_dlg->actDEdit->isEnabled() && !m_dlg->actDErase->isEnabled());
        list->setFocus(Qt::TabFocusReason);
        QCOMPARE(selectedMask(), -1);
        QVERIFY(!m_dlg->actDEdit->isEnabled());
        combo->setFocus(Qt::BacktabFocusReason);
        QVERIFY(!m_dlg->actDEdit->isEnabled());

        // Leaving a list without a selected mask disables the mask buttons.
        choose(0);
        list->setFocus(Qt::TabFocusReason);
        QVERIFY(maskButtonsEnabled());
        list->clearSelection();
        combo->setFocus(Qt::BacktabFocusReason);
        QVERIFY(!m_dlg->actDEdit->isEnabled() && !m_dlg->actDErase->isEnabled());
    }

    void categoriesDifferingInCaseAreEachReached()
    {
        seed({{u"Music"_s, {u"*.mp3"_s}}, {u"music"_s, {u"*.ogg"_s}}});
        open();
        const QList<qint64> codes = storedCodes();
        choose(1);
        QCOMPARE(maskEntries(), QStringList{u"*.ogg"_s});
        act("actDAdd", u"*.opus"_s);
        QCOMPARE(storedMasks(codes[1]), (QStringList{u"*.ogg"_s, u"*.opus"_s}));
        QCOMPARE(storedMasks(codes[0]), QStringList{u"*.mp3"_s});
        act("actEdit", u"MUSIC"_s);
        QCOMPARE(storedNames(), (QStringList{u"Music"_s, u"MUSIC"_s}));
        act("actDel");
        QCOMPARE(storedNames(), QStringList{u"Music"_s});
        QCOMPARE(storedMasks(codes[0]), QStringList{u"*.mp3"_s});
        verifyListsMatchCatalogue();
    }

    void masksDifferingInCaseAreEachReached()
    {
        seed({{u"音乐"_s, {u"*.MP3"_s, u"*.mp3"_s, u"*.wav"_s}}});
        open();
        const qint64 code = storedCodes().constFirst();
        chooseMask(1);
        act("actDEdit", u"*.Mp3"_s);
        QCOMPARE(storedMasks(code), (QStringList{u"*.MP3"_s, u"*.Mp3"_s, u"*.wav"_s}));
        QCOMPARE(maskEntries(), storedMasks(code));
        act("actDErase");
        QCOMPARE(storedMasks(code), (QStringList{u"*.MP3"_s, u"*.wav"_s}));
        QCOMPARE(maskEntries(), storedMasks(code));
        QCOMPARE(selectedMask(), 1);
    }

    void refusedStoreStepsShowOneErrorAndRereadTheLists()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s}}, {u"视频"_s, {u"*.mkv"_s}}});
        const QString refuse = u"create trigger %1 before %2 begin select raise(abort, '%3'); end"_s;
        exec(refuse.arg(u"t1"_s, u"insert on extMt when new.extName = '拒绝'"_s, u"name refused"_s));
        exec(refuse.arg(u"t2"_s, u"update on extMt"_s, u"rename refused"_s));
        exec(refuse.arg(u"t3"_s, u"update on extDt"_s, u"mask change refused"_s));
        exec(refuse.arg(u"t4"_s, u"delete on extDt when old.extDetailInfo = '*.wav'"_s, u"mask erase refused"_s));
        open();
        // Another program adds a category behind the editor's back; the failed step reads
        // the catalogue again and shows it.
        exec(u"insert into extMt (extName) values ('外部')"_s);

        act("actAdd", u"拒绝"_s);
        QCOMPARE(comboEntries(), (QStringList{u"音乐"_s, u"视频"_s, u"外部"_s}));
        QCOMPARE(m_presenter.calls.size(), 1);
        QCOMPARE(m_presenter.calls[0].message, u"数据操作失败"_s);
        QCOMPARE(m_presenter.calls[0].details, u"系统提示：\r  name refused"_s);
        QVERIFY(m_prompts.kinds().count(u"critical"_s) == 0);
        verifyListsMatchCatalogue();
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 0);
        QCOMPARE(m_dm->aqryExtMt->state(), TQuery::State::Browse);

        act("actAdd", u"图片"_s); // the editor stays usable
        QCOMPARE(storedNames(), (QStringList{u"音乐"_s, u"视频"_s, u"外部"_s, u"图片"_s}));
        verifyListsMatchCatalogue();

        choose(0);
        act("actEdit", u"歌曲"_s);
        QCOMPARE(m_presenter.calls.size(), 2);
        verifyListsMatchCatalogue();
        QCOMPARE(m_dlg->cbCatalog->currentText(), u"音乐"_s);

        chooseMask(1);
        act("actDEdit", u"*.flac"_s);
        QCOMPARE(m_presenter.calls.size(), 3);
        verifyListsMatchCatalogue();
        QCOMPARE(selectedMask(), 1);

        act("actDErase");
        QCOMPARE(m_presenter.calls.size(), 4);
        QCOMPARE(m_presenter.calls.last().details, u"系统提示：\r  mask erase refused"_s);
        verifyListsMatchCatalogue();
        QCOMPARE(maskEntries(), (QStringList{u"*.mp3"_s, u"*.wav"_s}));
        QCOMPARE(selectedMask(), 1);
        QVERIFY(maskButtonsEnabled());
        QCOMPARE(m_dm->aqryExtDt->state(), TQuery::State::Browse);
    }

    void aMaskListThatCannotBeReadStaysEmpty()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s}}, {u"视频"_s, {u"*.mkv"_s}}});
        open();
        exec(u"alter table extDt rename to extDtGone"_s);
        choose(1);
        QVERIFY(maskEntries().isEmpty());
        QVERIFY(!m_dm->aqryExtDt->Active());
        QVERIFY(m_presenter.calls.isEmpty());

        // Adding a mask then fails once, visibly.
        act("actDAdd", u"*.avi"_s);
        QCOMPARE(m_presenter.calls.size(), 1);
        QCOMPARE(m_presenter.calls[0].message, u"数据操作失败"_s);
        QVERIFY(maskEntries().isEmpty());
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 1);
    }

    void aFailedRefillIsReported()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s}}});
        open();
        QCOMPARE(m_comm->OpenSql(*m_dm->aqryExtDt, u"select extCode from extDt"_s), 1);
        m_dlg->chooser->InslbCatalog();
        QCOMPARE(m_presenter.calls.size(), 1);
        QCOMPARE(m_presenter.calls[0].message, u"函数InslbCatalog操作错误"_s);
        QVERIFY(m_presenter.calls[0].details.startsWith(u"错误信息:\r"_s));
        QVERIFY(m_presenter.calls[0].details.contains(u"extDetailInfo"_s));
        QCOMPARE(m_presenter.calls[0].caption, QString());
        QVERIFY(maskEntries().isEmpty());
    }

    void reopenedEditorShowsTheCatalogue()
    {
        open();
        act("actAdd", u"音乐"_s);
        act("actDAdd", u"*.mp3"_s);
        act("actDAdd", u"*.wav"_s);
        act("actAdd", u"临时"_s);
        choose(1);
        act("actDAdd", u"*.tmp"_s);
        act("actEdit", u"影片"_s);
        choose(0);
        chooseMask(0);
        act("actDEdit", u"*.MP3"_s);
        choose(1);
        act("actDel");
        QVERIFY(m_dlg->close());
        m_dlg.reset();

        open();
        QCOMPARE(comboEntries(), QStringList{u"音乐"_s});
        QCOMPARE(maskEntries(), (QStringList{u"*.MP3"_s, u"*.wav"_s}));
        verifyListsMatchCatalogue();
        QCOMPARE(maskRows(), 2);
    }

    void mainWindowOpensTheEditor()
    {
        TfrmMain main(*m_dm, *m_comm, m_prompts);
        seed({{u"音乐"_s, {u"*.mp3"_s}}});
        QStringList seen;
        QTimer::singleShot(0, &main, [&] {
            auto *editor = qobject_cast<TfrmExtEdition *>(QApplication::activeModalWidget());
            QVERIFY(editor);
            seen << editor->windowTitle() << QString::number(editor->Mode) << editor->cbCatalog->currentText();
            QCOMPARE(editor->parentWidget(), &main);
            editor->close();
        });
        main.findChild<QAction *>(u"actExtEdition"_s)->trigger();
        QCOMPARE(seen, (QStringList{u"扩展名编辑"_s, u"1"_s, u"音乐"_s}));
        QVERIFY(main.findChildren<TfrmExtEdition *>().isEmpty());
        QVERIFY(m_prompts.calls.isEmpty());
    }
};

QTEST_MAIN(TestExtEdition)
#include "tst_extedition.moc"
