// The category editor: its window, the editing of categories and masks, what the
// catalogue holds afterwards, and refused store steps.
#include "RecordingErrorPresenter.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestProgramDir.h"
#include "app/FrmMain.h"
#include "categories/ExtEdition.h"
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
            const qint64 code = storedCodes().constLast();
            for (const QString &mask : category.masks)
                exec(u"insert into extDt (extCode, extDetailInfo) values (?, ?)"_s, {code, mask});
        }
    }

    QList<QVariantList> rows(const QString &statement, const QVariantList &values = {})
    {
        QList<QVariantList> out;
        TQuery &query = *m_dm->aqryTempFind;
        if (m_comm->OpenSql(query, statement, values) < 0)
            return out;
        for (query.First(); !query.Eof(); query.Next()) {
            QVariantList row;
            for (const QString &column : query.columnNames())
                row.append(query.FieldByName(column).Value());
            out.append(row);
        }
        query.Close();
        return out;
    }

    QList<qint64> storedCodes()
    {
        QList<qint64> codes;
        for (const QVariantList &row : rows(u"select extCode from extMt order by extCode"_s))
            codes.append(row[0].toLongLong());
        return codes;
    }

    QStringList storedNames()
    {
        QStringList names;
        for (const QVariantList &row : rows(u"select extName from extMt order by extCode"_s))
            names.append(row[0].toString());
        return names;
    }

    QStringList storedMasks(qint64 code)
    {
        QStringList masks;
        for (const QVariantList &row : rows(u"select extDetailInfo from extDt where extCode = ? order by rowid"_s, {code}))
            masks.append(row[0].toString());
        return masks;
    }

    int maskRows() { return int(rows(u"select rowid from extDt"_s).size()); }

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

    void trigger(const char *name) { m_dlg->findChild<QAction *>(QLatin1StringView(name))->trigger(); }

    // What the user does: type a text into the next input box and confirm it.
    void type(const QString &text) { m_prompts.inputAnswers.enqueue(text); }

    // The user picks a category in the drop-down list.
    void choose(int index)
    {
        QComboBox *combo = m_dlg->cbCatalog;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    // The user clicks a mask: the list is entered and the mask selected.
    void chooseMask(int row)
    {
        m_dlg->lbCatalogEnter();
        m_dlg->lbCatalog->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }

    // Both lists show exactly what the catalogue holds for the selected category.
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
        QCOMPARE(enabledActions(), (QStringList{u"actAdd"_s, u"actEdit"_s, u"actDel"_s, u"actDAdd"_s}));
        QCOMPARE(m_dlg->Mode, 0);
        QVERIFY(!m_dlg->Accepted && !m_dlg->Scanning);
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
        QCOMPARE(m_dlg->lbCatalog->geometry(), QRect(16, 28, 203, m_dlg->pnlMask->height() - 28 - 8));
        QVERIFY(m_dlg->lbCatalog->height() > 200);

        const QStringList captions{u"增加"_s, u"修改"_s, u"删除"_s};
        const QList<int> tops{82, 112, 142};
        const QStringList actions{u"actDAdd"_s, u"actDEdit"_s, u"actDErase"_s};
        const QStringList buttons{u"btnDAdd"_s, u"btnDEdit"_s, u"btnDErase"_s};
        for (int i = 0; i < 3; ++i) {
            auto *button = m_dlg->findChild<QPushButton *>(buttons[i]);
            QVERIFY(button);
            QCOMPARE(button->text(), captions[i]);
            QCOMPARE(button->geometry(), QRect(12, tops[i], 93, button->height()));
            QCOMPARE(button->parentWidget()->x(), 238);
            // The button stands for its action: caption, enabled state and click.
            QAction *action = m_dlg->findChild<QAction *>(actions[i]);
            QCOMPARE(button->isEnabled(), action->isEnabled());
        }

        QCOMPARE(comboEntries(), (QStringList{u"音乐"_s, u"视频"_s}));
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 0);
        QCOMPARE(maskEntries(), (QStringList{u"*.mp3"_s, u"*.wav"_s}));
        QCOMPARE(selectedMask(), -1);
        QCOMPARE(enabledActions(), (QStringList{u"actAdd"_s, u"actEdit"_s, u"actDel"_s, u"actDAdd"_s}));

        // A click on "删除" deletes the selected mask.
        chooseMask(1);
        QVERIFY(m_dlg->findChild<QPushButton *>(u"btnDErase"_s)->isEnabled());
        saveScreenshot(*m_dlg, u"ext-edition"_s);
        QTest::mouseClick(m_dlg->findChild<QPushButton *>(u"btnDErase"_s), Qt::LeftButton);
        QCOMPARE(storedMasks(storedCodes()[0]), QStringList{u"*.mp3"_s});

        // The close box always closes the editor.
        QVERIFY(m_dlg->close());
    }

    void emptyCatalogueAndTheFirstCategory()
    {
        open();
        QCOMPARE(m_dlg->cbCatalog->count(), 0);
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), -1);
        QCOMPARE(m_dlg->lbCatalog->count(), 0);
        QCOMPARE(enabledActions(), QStringList{u"actAdd"_s});

        // A cancelled input box changes nothing.
        trigger("actAdd");
        QCOMPARE(m_dlg->cbCatalog->count(), 0);
        QVERIFY(storedNames().isEmpty());

        type(u"音乐"_s);
        trigger("actAdd");
        QCOMPARE(m_prompts.calls.size(), 2);
        for (const ScriptedPrompts::Call &call : m_prompts.calls) {
            QCOMPARE(call.kind, u"input"_s);
            QCOMPARE(call.caption, u"新的名称"_s);
            QCOMPARE(call.text, u"请在输入框内输入新的名称.        "_s);
            QCOMPARE(call.initial, QString());
        }
        QCOMPARE(storedNames(), QStringList{u"音乐"_s});
        QCOMPARE(comboEntries(), QStringList{u"音乐"_s});
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 0);
        QCOMPARE(m_dlg->lbCatalog->count(), 0);
        QCOMPARE(enabledActions(), (QStringList{u"actAdd"_s, u"actEdit"_s, u"actDel"_s, u"actDAdd"_s}));
        QVERIFY(m_presenter.calls.isEmpty());
    }

    void namesAreStoredTrimmed()
    {
        open();
        type(u"  爵士 乐\t "_s);
        trigger("actAdd");
        QCOMPARE(storedNames(), QStringList{u"爵士 乐"_s});
        QCOMPARE(comboEntries(), QStringList{u"爵士 乐"_s});

        // Renaming stores the trimmed text too; an empty name is allowed.
        type(u" 爵士 "_s);
        trigger("actEdit");
        QCOMPARE(storedNames(), QStringList{u"爵士"_s});
        type(u"   "_s);
        trigger("actAdd");
        QCOMPARE(storedNames(), (QStringList{u"爵士"_s, QString()}));
        verifyListsMatchCatalogue();
    }

    void addingKeepsTheSelectedCategory()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s}}, {u"视频"_s, {u"*.mkv"_s}}});
        open();
        choose(1);
        QCOMPARE(maskEntries(), QStringList{u"*.mkv"_s});
        type(u"图片"_s);
        trigger("actAdd");
        QCOMPARE(comboEntries(), (QStringList{u"音乐"_s, u"视频"_s, u"图片"_s}));
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 1);
        QCOMPARE(maskEntries(), QStringList{u"*.mkv"_s});

        // Renaming and deleting act on the selected category, not on the new one.
        type(u"电影"_s);
        trigger("actEdit");
        QCOMPARE(storedNames(), (QStringList{u"音乐"_s, u"电影"_s, u"图片"_s}));
        trigger("actDel");
        QCOMPARE(storedNames(), (QStringList{u"音乐"_s, u"图片"_s}));
        // The entry at the same position is selected and its masks are shown.
        QCOMPARE(m_dlg->cbCatalog->currentText(), u"图片"_s);
        QCOMPARE(maskEntries(), QStringList());
        verifyListsMatchCatalogue();
    }

    void renamingComparesTheExactText()
    {
        seed({{u"Music"_s, {u"*.mp3"_s}}});
        open();
        type(u"Music"_s);
        trigger("actEdit");
        QCOMPARE(m_prompts.calls.last().caption, u"新的名称"_s);
        QCOMPARE(m_prompts.calls.last().text, u"请在输入框内输入修改后的名称."_s);
        QCOMPARE(m_prompts.calls.last().initial, u"Music"_s);
        QCOMPARE(storedNames(), QStringList{u"Music"_s});

        type(u"music"_s);
        trigger("actEdit");
        QCOMPARE(storedNames(), QStringList{u"music"_s});
        QCOMPARE(comboEntries(), QStringList{u"music"_s});
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 0);
        QCOMPARE(maskEntries(), QStringList{u"*.mp3"_s});

        trigger("actEdit"); // cancelled
        QCOMPARE(storedNames(), QStringList{u"music"_s});
    }

    void deletingCategories()
    {
        seed({{u"甲"_s, {u"*.a"_s}}, {u"乙"_s, {u"*.b"_s}}, {u"丙"_s, {u"*.c1"_s, u"*.c2"_s}}});
        open();
        choose(2);
        chooseMask(0);
        // Deleting the last entry selects the new last one and shows its masks.
        trigger("actDel");
        QCOMPARE(comboEntries(), (QStringList{u"甲"_s, u"乙"_s}));
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 1);
        QCOMPARE(maskEntries(), QStringList{u"*.b"_s});
        QCOMPARE(enabledActions(), (QStringList{u"actAdd"_s, u"actEdit"_s, u"actDel"_s, u"actDAdd"_s}));
        QCOMPARE(maskRows(), 2); // the deleted category's masks went with it

        trigger("actDel");
        trigger("actDel");
        QCOMPARE(m_dlg->cbCatalog->count(), 0);
        QCOMPARE(m_dlg->lbCatalog->count(), 0);
        QCOMPARE(enabledActions(), QStringList{u"actAdd"_s});
        QVERIFY(storedNames().isEmpty());
        QCOMPARE(maskRows(), 0);
        QVERIFY(m_presenter.calls.isEmpty());

        // A new first category starts with no masks.
        type(u"丁"_s);
        trigger("actAdd");
        QCOMPARE(maskEntries(), QStringList());
        type(u"*.d"_s);
        trigger("actDAdd");
        verifyListsMatchCatalogue();
    }

    void addingMasks()
    {
        seed({{u"音乐"_s, {}}});
        open();
        const qint64 code = storedCodes().constFirst();
        type(QString(u""_s));
        trigger("actDAdd");
        QCOMPARE(m_prompts.calls.last().caption, u"新的文件扩展名"_s);
        QCOMPARE(m_prompts.calls.last().text, u"请在输入框内输入新的扩展名，abc. *.dat"_s);
        QCOMPARE(m_prompts.calls.last().initial, QString());
        QCOMPARE(maskRows(), 0);
        QCOMPARE(m_dlg->lbCatalog->count(), 0);

        type(u"  *.mp3 "_s);
        trigger("actDAdd");
        QCOMPARE(storedMasks(code), QStringList{u"*.mp3"_s});
        QCOMPARE(maskEntries(), QStringList{u"*.mp3"_s});
        QCOMPARE(selectedMask(), 0);
        QVERIFY(m_dlg->actDEdit->isEnabled() && m_dlg->actDErase->isEnabled());

        // Blanks alone are not an empty text: they store an empty mask.
        type(u"   "_s);
        trigger("actDAdd");
        type(u"readme.txt"_s);
        trigger("actDAdd");
        QCOMPARE(storedMasks(code), (QStringList{u"*.mp3"_s, QString(), u"readme.txt"_s}));
        QCOMPARE(maskEntries(), (QStringList{u"*.mp3"_s, QString(), u"readme.txt"_s}));
        QCOMPARE(selectedMask(), 0);
        trigger("actDAdd"); // cancelled
        QCOMPARE(maskRows(), 3);
    }

    void changingAndErasingMasks()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s, u"*.ape"_s}}});
        open();
        const qint64 code = storedCodes().constFirst();
        // Without a selected mask both do nothing.
        trigger("actDEdit");
        trigger("actDErase");
        QVERIFY(m_prompts.calls.isEmpty());
        QCOMPARE(maskRows(), 3);

        chooseMask(1);
        type(u"*.wav"_s);
        trigger("actDEdit");
        QCOMPARE(m_prompts.calls.last().caption, u"新的名称"_s);
        QCOMPARE(m_prompts.calls.last().text, u"请在输入框内输入修改后的名称."_s);
        QCOMPARE(m_prompts.calls.last().initial, u"*.wav"_s);
        type(u" *.WAV "_s);
        trigger("actDEdit");
        QCOMPARE(storedMasks(code), (QStringList{u"*.mp3"_s, u"*.WAV"_s, u"*.ape"_s}));
        QCOMPARE(maskEntries(), (QStringList{u"*.mp3"_s, u"*.WAV"_s, u"*.ape"_s}));
        QCOMPARE(selectedMask(), 1);

        trigger("actDErase");
        QCOMPARE(storedMasks(code), (QStringList{u"*.mp3"_s, u"*.ape"_s}));
        QCOMPARE(selectedMask(), 1);
        trigger("actDErase");
        QCOMPARE(maskEntries(), QStringList{u"*.mp3"_s});
        QCOMPARE(selectedMask(), 0);
        m_dlg->lbCatalogEnter();
        trigger("actDErase");
        QCOMPARE(m_dlg->lbCatalog->count(), 0);
        QVERIFY(!m_dlg->actDEdit->isEnabled() && !m_dlg->actDErase->isEnabled());
        QVERIFY(storedMasks(code).isEmpty());
    }

    void enteringAndLeavingTheMaskList()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s}}, {u"空"_s, {}}});
        open();
        m_dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
        m_dlg->cbCatalog->setFocus(Qt::OtherFocusReason);
        QVERIFY(!m_dlg->actDEdit->isEnabled());

        // Entering a list without a selection selects the first mask.
        m_dlg->lbCatalog->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(m_dlg->lbCatalog->hasFocus());
        QCOMPARE(selectedMask(), 0);
        QVERIFY(m_dlg->actDEdit->isEnabled() && m_dlg->actDErase->isEnabled());

        // Tabbing out and in again keeps the selected mask.
        chooseMask(1);
        m_dlg->cbCatalog->setFocus(Qt::BacktabFocusReason);
        QVERIFY(m_dlg->actDEdit->isEnabled());
        m_dlg->lbCatalog->setFocus(Qt::TabFocusReason);
        QCOMPARE(selectedMask(), 1);

        // A new category selection disables both; leaving without a selection keeps them so.
        m_dlg->cbCatalog->setFocus(Qt::BacktabFocusReason);
        choose(1);
        QVERIFY(!m_dlg->actDEdit->isEnabled() && !m_dlg->actDErase->isEnabled());
        m_dlg->lbCatalog->setFocus(Qt::TabFocusReason);
        QCOMPARE(selectedMask(), -1); // an empty list has nothing to select
        QVERIFY(!m_dlg->actDEdit->isEnabled());
        m_dlg->cbCatalog->setFocus(Qt::BacktabFocusReason);
        QVERIFY(!m_dlg->actDEdit->isEnabled());

        // Leaving a list whose selection was cleared disables the mask buttons.
        choose(0);
        m_dlg->lbCatalog->setFocus(Qt::TabFocusReason);
        QVERIFY(m_dlg->actDEdit->isEnabled());
        m_dlg->lbCatalog->clearSelection();
        m_dlg->cbCatalog->setFocus(Qt::BacktabFocusReason);
        QVERIFY(!m_dlg->actDEdit->isEnabled() && !m_dlg->actDErase->isEnabled());
    }

    void categoriesDifferingInCaseAreEachReached()
    {
        seed({{u"Music"_s, {u"*.mp3"_s}}, {u"music"_s, {u"*.ogg"_s}}});
        open();
        const QList<qint64> codes = storedCodes();
        choose(1);
        QCOMPARE(maskEntries(), QStringList{u"*.ogg"_s});

        type(u"*.opus"_s);
        trigger("actDAdd");
        QCOMPARE(storedMasks(codes[1]), (QStringList{u"*.ogg"_s, u"*.opus"_s}));
        QCOMPARE(storedMasks(codes[0]), QStringList{u"*.mp3"_s});

        type(u"MUSIC"_s);
        trigger("actEdit");
        QCOMPARE(storedNames(), (QStringList{u"Music"_s, u"MUSIC"_s}));

        trigger("actDel");
        QCOMPARE(storedNames(), QStringList{u"Music"_s});
        QCOMPARE(storedMasks(codes[0]), QStringList{u"*.mp3"_s});
        QCOMPARE(maskEntries(), QStringList{u"*.mp3"_s});
        verifyListsMatchCatalogue();
    }

    void masksDifferingInCaseAreEachReached()
    {
        seed({{u"音乐"_s, {u"*.MP3"_s, u"*.mp3"_s, u"*.wav"_s}}});
        open();
        const qint64 code = storedCodes().constFirst();
        chooseMask(1);
        type(u"*.Mp3"_s);
        trigger("actDEdit");
        QCOMPARE(storedMasks(code), (QStringList{u"*.MP3"_s, u"*.Mp3"_s, u"*.wav"_s}));
        QCOMPARE(maskEntries(), storedMasks(code));

        trigger("actDErase");
        QCOMPARE(storedMasks(code), (QStringList{u"*.MP3"_s, u"*.wav"_s}));
        QCOMPARE(maskEntries(), storedMasks(code));
        QCOMPARE(selectedMask(), 1);
    }

    void refusedStoreStepsShowOneErrorAndRereadTheLists()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s}}, {u"视频"_s, {u"*.mkv"_s}}});
        exec(u"create trigger refuseName before insert on extMt when new.extName = '拒绝' "
             "begin select raise(abort, 'name refused'); end"_s);
        exec(u"create trigger refuseRename before update on extMt "
             "begin select raise(abort, 'rename refused'); end"_s);
        exec(u"create trigger refuseMaskChange before update on extDt "
             "begin select raise(abort, 'mask change refused'); end"_s);
        exec(u"create trigger refuseMaskErase before delete on extDt when old.extDetailInfo = '*.wav' "
             "begin select raise(abort, 'mask erase refused'); end"_s);
        open();
        // Another program adds a category behind the editor's back; the failed step
        // re-reads the catalogue and shows it.
        exec(u"insert into extMt (extName) values ('外部')"_s);

        type(u"拒绝"_s);
        trigger("actAdd");
        QCOMPARE(comboEntries(), (QStringList{u"音乐"_s, u"视频"_s, u"外部"_s}));
        QCOMPARE(m_presenter.calls.size(), 1);
        QCOMPARE(m_presenter.calls[0].message, u"数据操作失败"_s);
        QCOMPARE(m_presenter.calls[0].details.split(u'\r').value(1), u"  name refused"_s);
        QVERIFY(!m_prompts.kinds().contains(u"critical"_s));
        verifyListsMatchCatalogue();
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 0);
        QCOMPARE(m_dm->aqryExtMt->state(), TQuery::State::Browse);

        // The editor stays usable.
        type(u"图片"_s);
        trigger("actAdd");
        QCOMPARE(storedNames(), (QStringList{u"音乐"_s, u"视频"_s, u"外部"_s, u"图片"_s}));
        verifyListsMatchCatalogue();

        choose(0);
        type(u"歌曲"_s);
        trigger("actEdit");
        QCOMPARE(m_presenter.calls.size(), 2);
        verifyListsMatchCatalogue();
        QCOMPARE(m_dlg->cbCatalog->currentText(), u"音乐"_s);

        chooseMask(1);
        type(u"*.flac"_s);
        trigger("actDEdit");
        QCOMPARE(m_presenter.calls.size(), 3);
        verifyListsMatchCatalogue();
        QCOMPARE(selectedMask(), 1);

        trigger("actDErase");
        QCOMPARE(m_presenter.calls.size(), 4);
        QCOMPARE(m_presenter.calls.last().details, u"系统提示：\r  mask erase refused"_s);
        verifyListsMatchCatalogue();
        QCOMPARE(maskEntries(), (QStringList{u"*.mp3"_s, u"*.wav"_s}));
        QCOMPARE(selectedMask(), 1);
        QVERIFY(m_dlg->actDErase->isEnabled());
        QCOMPARE(m_dm->aqryExtDt->state(), TQuery::State::Browse);
    }

    void aMaskListThatCannotBeReadStaysEmpty()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s}}, {u"视频"_s, {u"*.mkv"_s}}});
        open();
        exec(u"alter table extDt rename to extDtGone"_s);
        choose(1);
        QCOMPARE(m_dlg->lbCatalog->count(), 0);
        QVERIFY(!m_dm->aqryExtDt->Active());
        QVERIFY(m_presenter.calls.isEmpty());

        // Adding a mask then fails once, visibly, and the list stays as the catalogue has it.
        type(u"*.avi"_s);
        trigger("actDAdd");
        QCOMPARE(m_presenter.calls.size(), 1);
        QCOMPARE(m_presenter.calls[0].message, u"数据操作失败"_s);
        QCOMPARE(m_dlg->lbCatalog->count(), 0);
        QCOMPARE(m_dlg->cbCatalog->currentIndex(), 1);
    }

    void aFailedRefillIsReported()
    {
        seed({{u"音乐"_s, {u"*.mp3"_s}}});
        open();
        QCOMPARE(m_comm->OpenSql(*m_dm->aqryExtDt, u"select extCode from extDt"_s), 1);
        m_dlg->InslbCatalog();
        QCOMPARE(m_presenter.calls.size(), 1);
        QCOMPARE(m_presenter.calls[0].message, u"函数InslbCatalog操作错误"_s);
        QVERIFY(m_presenter.calls[0].details.startsWith(u"错误信息:\r"_s));
        QVERIFY(m_presenter.calls[0].details.contains(u"extDetailInfo"_s));
        QCOMPARE(m_presenter.calls[0].caption, QString());
        QCOMPARE(m_dlg->lbCatalog->count(), 0);
    }

    void reopenedEditorShowsTheCatalogue()
    {
        open();
        type(u"音乐"_s);
        trigger("actAdd");
        type(u"*.mp3"_s);
        trigger("actDAdd");
        type(u"*.wav"_s);
        trigger("actDAdd");
        type(u"临时"_s);
        trigger("actAdd");
        choose(1);
        type(u"*.tmp"_s);
        trigger("actDAdd");
        type(u"影片"_s);
        trigger("actEdit");
        choose(0);
        chooseMask(0);
        type(u"*.MP3"_s);
        trigger("actDEdit");
        choose(1);
        trigger("actDel");
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
        QAction *open = main.findChild<QAction *>(u"actExtEdition"_s);
        QStringList seen;
        QTimer::singleShot(0, &main, [&] {
            auto *editor = qobject_cast<TfrmExtEdition *>(QApplication::activeModalWidget());
            QVERIFY(editor);
            seen << editor->windowTitle() << QString::number(editor->Mode) << editor->cbCatalog->currentText();
            QCOMPARE(editor->parentWidget(), &main);
            editor->close();
        });
        open->trigger();
        QCOMPARE(seen, (QStringList{u"扩展名编辑"_s, u"1"_s, u"音乐"_s}));
        QVERIFY(main.findChildren<TfrmExtEdition *>().isEmpty());
        QVERIFY(m_prompts.calls.isEmpty());
    }
};

QTEST_MAIN(TestExtEdition)
#include "tst_extedition.moc"
