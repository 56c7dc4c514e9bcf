// The Language menu: every open window changes language at once, back and forth, and the
// choice is kept for the next start.
#include "RecordingProgress.h"
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/AboutBox.h"
#include "app/DiscBrowser.h"
#include "app/FrmMain.h"
#include "app/HelpWindow.h"
#include "import/ExtEdition.h"
#include "language/Language.h"
#include "search/FileListExport.h"
#include "search/FrmSearch.h"
#include "store/Catalogue.h"
#include "store/FileRowModel.h"
#include "store/Schema.h"
#include "ui/FrmErrorShow.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QAbstractButton>
#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString kDisc = u"碟一"_s;
const QString kFile = u"歌曲.mp3"_s;

void addHeader(QStringList &out, const QString &where, const QAbstractItemModel *model)
{
    for (int c = 0; model && c < model->columnCount(); ++c)
        out << where + u" column: "_s + model->headerData(c, Qt::Horizontal).toString();
}

void addItems(QStringList &out, const QWidget *widget)
{
    const QString where = widget->objectName();
    if (const auto *tree = qobject_cast<const QTreeWidget *>(widget)) {
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
            out << where + u" item: "_s + (*it)->text(0);
    } else if (const auto *list = qobject_cast<const QListWidget *>(widget)) {
        for (int i = 0; i < list->count(); ++i)
            out << where + u" item: "_s + list->item(i)->text();
    } else if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        for (int i = 0; i < combo->count(); ++i)
            out << where + u" item: "_s + combo->itemText(i);
    }
    if (const auto *view = qobject_cast<const QAbstractItemView *>(widget))
        addHeader(out, where, view->model());
}

// Every text a window shows: titles, captions, hints, items, column headers, menus and
// actions, each with where it stands.
QStringList texts(const QWidget &window)
{
    QStringList out;
    QList<QWidget *> widgets = window.findChildren<QWidget *>();
    widgets.prepend(const_cast<QWidget *>(&window));
    for (const QWidget *widget : widgets) {
        const QString where = widget->objectName();
        out << where + u" title: "_s + widget->windowTitle() << where + u" tip: "_s + widget->toolTip();
        if (const auto *label = qobject_cast<const QLabel *>(widget))
            out << where + u" label: "_s + label->text();
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            out << where + u" button: "_s + button->text();
        if (const auto *group = qobject_cast<const QGroupBox *>(widget))
            out << where + u" group: "_s + group->title();
        if (const auto *menu = qobject_cast<const QMenu *>(widget))
            out << where + u" menu: "_s + menu->title();
        addItems(out, widget);
    }
    for (const QAction *action : window.findChildren<QAction *>())
        out << action->objectName() + u" action: "_s + action->text() + u" | "_s + action->toolTip() + u" | "_s +
                   action->statusTip();
    return out;
}

// The texts with a Chinese character in them that are not the user's own data.
QStringList chineseTexts(const QStringList &all)
{
    static const QRegularExpression chinese(u"[\\x{4e00}-\\x{9fff}]"_s);
    QStringList userData{kDisc, kFile};
    for (const CatalogueSchema::Category &category : CatalogueSchema::defaultCategories())
        userData << category.name;
    QStringList out;
    for (const QString &text : all) {
        const QString shown = text.section(u": "_s, 1);
        if (shown.contains(chinese) && !userData.contains(shown))
            out << text;
    }
    return out;
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;
    ScriptedPrompts m_prompts;

    void choose(TfrmMain &main, const QString &entry)
    {
        main.findChild<QAction *>(entry)->trigger();
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path()); }

    void firstStartIsChinese()
    {
        QCOMPARE(InterfaceLanguage::saved(), Language::Chinese);
        QCOMPARE(InterfaceLanguage::current(), Language::Chinese);
    }

    // Every window open when the language changes follows at once; back in Chinese every
    // text is what it was.
    void menuSwitchesEveryOpenWindow()
    {
        TestSession session(TestProgramDir::Catalogue::WithCategories);
        session.data.addFile(session.data.addDisc(kDisc), kFile);
        TfrmMain main(session.dm, session.comm, m_prompts);
        main.show();
        main.tvCdIndex->setCurrentItem(main.rootNode()->child(0));
        main.browser().lvDetailColumnClick(2);
        TAboutBox about(m_prompts, &main);
        TfrmSearch search(*session.dm.aqryQuery, session.dm.catalogue(), m_prompts, &main);
        TfrmErrorShow error(&main);
        error.Fill(u"message"_s, u"details"_s, QString());
        QList<QWidget *> windows{&main, &about, &search, &error};
        std::vector<std::unique_ptr<TfrmExtEdition>> editions;
        for (int mode : {1, 2, 3}) {
            editions.push_back(std::make_unique<TfrmExtEdition>(session.dm, session.comm, m_prompts, &main));
            editions.back()->SetMode(mode);
            windows << editions.back().get();
        }
        for (QWidget *window : windows)
            window->show();
        // The search index is built and the disc's files are listed; the status line's
        // text is cleared by a change of language.
        QTest::qWait(200);
        main.progress().SetStatusText(QString());
        QList<QStringList> chinese;
        for (QWidget *window : windows)
            chinese << texts(*window);
        QVERIFY(chineseTexts(chinese.first()).contains(u"actFind action: 查询(&F) | 查询 | 查询"_s));

        choose(main, u"miEnglish"_s);
        QVERIFY(main.findChild<QAction *>(u"miEnglish"_s)->isChecked());
        QVERIFY(!main.findChild<QAction *>(u"miChinese"_s)->isChecked());
        QCOMPARE(main.windowTitle(), u"Quillon Disc Catalogue"_s);
        QCOMPARE(main.lvDetail->model()->headerData(2, Qt::Horizontal).toString(), u"Size△"_s);
        for (QWidget *window : windows)
            QVERIFY2(chineseTexts(texts(*window)).isEmpty(), qPrintable(chineseTexts(texts(*window)).join(u'\n')));

        choose(main, u"miChinese"_s);
        for (int i = 0; i < windows.size(); ++i)
            QCOMPARE(texts(*windows[i]), chinese[i]);
    }

    // The choice is in the settings for the next start, whose window opens in it; the
    // export header and the manual follow the interface.
    void choiceSurvivesRestart()
    {
        {
            TestSession session;
            TfrmMain main(session.dm, session.comm, m_prompts);
            choose(main, u"miEnglish"_s);
        }
        InterfaceLanguage::apply(Language::Chinese);
        QCOMPARE(InterfaceLanguage::saved(), Language::English);
        InterfaceLanguage::apply(InterfaceLanguage::saved());
        TestSession session;
        TfrmMain main(session.dm, session.comm, m_prompts);
        QVERIFY(main.findChild<QAction *>(u"miEnglish"_s)->isChecked());
        QCOMPARE(main.findChild<QAction *>(u"actFind"_s)->text(), u"&Find"_s);

        QBuffer file;
        file.open(QIODevice::WriteOnly);
        RecordingProgress progress;
        FileListExport::write(*main.lvDetail->rows(), file, progress);
        QCOMPARE(file.data(), QByteArray("Disc\tFile Name\tSize\tDate\tPath\t\r\n"));

        QDir(session.dir.path()).mkpath(u"Help"_s);
        QFile manual(session.dir.path() + u"/Help/Quillon.en.html"_s);
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.close();
        main.actHelp->trigger();
        QVERIFY(main.helpWindow());
        QCOMPARE(main.helpWindow()->browser()->source(), QUrl::fromLocalFile(manual.fileName()));
        QCOMPARE(main.helpWindow()->openInBrowser()->text(), u"Open in the Browser"_s);

        choose(main, u"miChinese"_s);
        QCOMPARE(InterfaceLanguage::saved(), Language::Chinese);
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
