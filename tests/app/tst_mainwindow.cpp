// The main window: actions, menus, panels, the status bar and the stop request.
#include "FakePlatform.h"
#include "RecordingErrorPresenter.h"
#include "RecordingProgress.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/DiscBrowser.h"
#include "app/FrmMain.h"
#include "app/HelpWindow.h"
#include "drives/platform/PlatformOverride.h"
#include "import/DiscDifferenceDialog.h"
#include "import/DiscImport.h"
#include "language/Language.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/ActionGuard.h"
#include "ui/MyStatusBar.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QStringList entries(const QMenu *menu)
{
    QStringList out;
    for (const QAction *action : menu->actions())
        out << (action->isSeparator() ? u"-"_s : action->text());
    return out;
}

QMenu *subMenu(const QMenu *menu, const QString &title)
{
    for (const QAction *action : menu->actions())
        if (action->menu() && action->text() == title)
            return action->menu();
    return nullptr;
}

} // namespace

// Records the URLs the desktop is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> m_session;
    ScriptedPrompts m_prompts;
    std::unique_ptr<TfrmMain> m_main;

    QAction *action(const QString &name) { return m_main->findChild<QAction *>(name); }

private slots:
    void init()
    {
        m_session = std::make_unique<TestSession>();
        m_prompts = ScriptedPrompts();
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
    }

    void cleanup()
    {
        m_main.reset();
        m_session.reset();
    }

    void actionTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("hasIcon");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("actCDimp") << u"actCDimp"_s << u"光盘导入(&I)"_s << u"光盘导入"_s << QString() << true << true;
        QTest::newRow("actCDexpASC") << u"actCDexpASC"_s << u"导出(&E)"_s << u"导出"_s << QString() << true << true;
        QTest::newRow("actExtEdition") << u"actExtEdition"_s << u"扩展名编辑"_s << u"扩展名编辑"_s << QString() << false
                                       << true;
        QTest::newRow("actFind") << u"actFind"_s << u"查询(&F)"_s << u"查询"_s << u"F3"_s << true << true;
        QTest::newRow("actDel") << u"actDel"_s << u"删除(&D)"_s << u"删除"_s << u"Del"_s << true << false;
        QTest::newRow("actQuit") << u"actQuit"_s << u"退出(&X)"_s << QString() << QString() << false << true;
        QTest::newRow("actHelp") << u"actHelp"_s << u"用户手册(&H)"_s << QString() << QString() << false << true;
        QTest::newRow("actAbout") << u"actAbout"_s << u"关于光盘索引(&A)"_s << QString() << QString() << false << true;
        QTest::newRow("actComment") << u"actComment"_s << u"备注"_s << u"备注"_s << QString() << true << false;
        QTest::newRow("actOpenCd") << u"actOpenCd"_s << u"  弹  出"_s << QString() << QString() << false << true;
        QTest::newRow("actCloseCd") << u"actCloseCd"_s << u"  关  闭"_s << QString() << QString() << false << true;
        QTest::newRow("actAllOpen") << u"actAllOpen"_s << u"全部弹出"_s << QString() << QString() << false << true;
        QTest::newRow("actAllClose") << u"actAllClose"_s << u"全部关闭"_s << QString() << QString() << false << true;
        QTest::newRow("actDriverImp") << u"actDriverImp"_s << u"磁盘导入"_s << u"磁盘导入"_s << QString() << false
                                      << true;
    }

    void actionTable()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(QString, shortcut);
        QFETCH(bool, hasIcon);
        QFETCH(bool, enabled);
        QAction *a = action(name);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->statusTip(), hint);
        QCOMPARE(a->shortcut().toString(), shortcut);
        QCOMPARE(!a->icon().isNull(), hasIcon);
        QCOMPARE(a->isEnabled(), enabled);
        QCOMPARE(a->property("category").toString() == u"Status"_s, name == u"actOpenCd"_s || name == u"actCloseCd"_s ||
                                                                        name == u"actAllOpen"_s ||
                                                                        name == u"actAllClose"_s);
    }

    void menusAndToolbar()
    {
        const QList<QAction *> top = m_main->menuBar()->actions();
        QCOMPARE(top.size(), 3);
        QCOMPARE(top[0]->text(), u"文件(&F)"_s);
        QCOMPARE(entries(top[0]->menu()), (QStringList{u"新的CD"_s, u"磁盘导入"_s, u"-"_s, u"退出(&X)"_s}));
        QCOMPARE(top[1]->text(), u"编辑(&E)"_s);
        QCOMPARE(entries(top[1]->menu()),
                 (QStringList{u"删除(&D)"_s, u"属性(&R)"_s, u"更新(&U)"_s, u"借出的光盘(&L)"_s, u"校验光盘(&V)"_s,
                              u"需要检查的光盘(&K)"_s, u"-"_s, u"导出(&E)"_s, u"副本统计(&C)"_s, u"-"_s, u"Language"_s,
                              u"-"_s, u"设置"_s}));
        QMenu *language = subMenu(top[1]->menu(), u"Language"_s);
        QCOMPARE(entries(language), (QStringList{u"Chinese(GB)"_s, u"English"_s}));
        QVERIFY(language->actions().first()->isChecked());
        language->actions().first()->trigger(); // a click does not untick the language in force
        QVERIFY(language->actions().first()->isChecked());
        QVERIFY(!language->actions().last()->isChecked());
        QCOMPARE(entries(subMenu(top[1]->menu(), u"设置"_s)), QStringList{u"扩展名编辑"_s});
        QCOMPARE(top[2]->text(), u"帮助(&H)"_s);
        QCOMPARE(entries(top[2]->menu()), (QStringList{u"用户手册(&H)"_s, u"-"_s, u"关于光盘索引(&A)"_s}));

        QCOMPARE(entries(m_main->pmCdIndex),
                 (QStringList{u"光盘导入(&I)"_s, u"备注"_s, u"副本统计"_s, u"校验光盘(&V)"_s, u"-"_s, u"删除(&D)"_s, u"-"_s,
                              u"属性(&R)"_s, u"更新(&U)"_s}));
        QCOMPARE(entries(m_main->pmStatus),
                 (QStringList{u"  弹  出"_s, u"  关  闭"_s, u"-"_s, u"全部弹出"_s, u"全部关闭"_s}));
        QCOMPARE(m_main->tb->actions(),
                 (QList<QAction *>{action(u"actCDimp"_s), action(u"actComment"_s), action(u"actCDexpASC"_s),
                                   action(u"actDel"_s), action(u"actFind"_s)}));

        // "新的CD" runs the disc import and follows its enabled state.
        QAction *miCDimp = m_main->findChild<QAction *>(u"miCDimp"_s);
        QSignalSpy imports(action(u"actCDimp"_s), &QAction::triggered);
        // The import dialog opens; close it again.
        QTimer::singleShot(0, this, [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        miCDimp->trigger();
        QCOMPARE(imports.size(), 1);
        m_main->actionStates().setAllowed(action(u"actCDimp"_s), false);
        QVERIFY(!miCDimp->isEnabled());
    }

    // 更新 of the selected disc: the difference dialog, and 确定 lists the new file; 取消 and
    // a source that cannot be found change nothing, the latter said in the program's words.
    void updateThroughTheWindow()
    {
        FakePlatform platform;
        PlatformOverride use(platform);
        platform.addDrive('e').uuid = u"ABCD-0001"_s;
        const QString folder = platform.drive('e').root + u"/歌/"_s;
        QDir().mkpath(folder);
        const auto write = [&](const QString &name) {
            QFile file(folder + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        };
        write(u"一.mp3"_s);
        RecordingProgress progress;
        QCOMPARE(DiscImport::run(m_session->dm, m_session->comm, 'e', u"e:\\歌"_s, {u"*.*"_s}, u"硬盘"_s, progress,
                                 {ScanTime::Created, nullptr, ImportRecord::Source::Folder}),
                 DiscImport::Result::Stored);
        write(u"二.mp3"_s);
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
        m_main->tvCdIndex->setCurrentItem(m_main->rootNode()->child(0));
        QVERIFY(action(u"actUpdate"_s)->isEnabled());
        const auto answer = [&](bool ok) {
            auto *timer = new QTimer(m_main.get());
            connect(timer, &QTimer::timeout, timer, [timer, ok] {
                if (auto *dialog = qobject_cast<TfrmDiscDifference *>(QApplication::activeModalWidget())) {
                    ok ? dialog->accept() : dialog->reject();
                    timer->deleteLater();
                }
            });
            timer->start(10);
        };
        answer(false);
        action(u"actUpdate"_s)->trigger();
        QCOMPARE(m_main->lvDetail->rows()->rowCount(), 1);
        answer(true);
        action(u"actUpdate"_s)->trigger();
        QCOMPARE(m_main->lvDetail->rows()->rowCount(), 2);
        QCOMPARE(m_main->lvDetail->rows()->row(1).sub[FileRow::ListName - 1], u"二.mp3"_s);
        platform.drive('e').uuid = u"ABCD-0002"_s;
        action(u"actUpdate"_s)->trigger();
        QCOMPARE(m_prompts.calls.size(), 1);
        QVERIFY(m_prompts.calls.first().text.startsWith(u"找不到光盘的来源："_s));
        QCOMPARE(m_main->lvDetail->rows()->rowCount(), 2);
    }

    // Every menu item has its name and runs its action; none takes the action's shortcut,
    // so F3 and Del still reach the one action that owns them.
    void menuItemsByNameKeepShortcutsWorking()
    {
        const QList<std::pair<const char *, const char *>> items{
            {"miCDimp", "actCDimp"},   {"miDriverImp", "actDriverImp"}, {"miQuit", "actQuit"},
            {"miDel", "actDel"},       {"miexp", "actCDexpASC"},        {"miExtEdition", "actExtEdition"},
            {"miCustomer", "actHelp"}, {"miAbout", "actAbout"}};
        m_main->actionStates().setAllowed(action(u"actDel"_s), true);
        for (const auto &[item, owner] : items) {
            QAction *menuItem = action(QLatin1StringView(item));
            QVERIFY2(menuItem, item);
            QVERIFY(menuItem->shortcut().isEmpty());
            QSignalSpy runs(action(QLatin1StringView(owner)), &QAction::triggered);
            if (QByteArrayView(item) != "miDel" && QByteArrayView(item) != "miQuit")
                QTimer::singleShot(0, this, [] {
                    if (QWidget *dialog = QApplication::activeModalWidget())
                        dialog->close();
                });
            menuItem->trigger();
            QCOMPARE(runs.size(), 1);
        }
        QVERIFY(m_session->data.addDisc(u"A"_s) > 0);
        m_main->show();
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        m_main->browser().ReloadDiscTree();
        m_main->tvCdIndex->setCurrentItem(m_main->rootNode()->child(0));
        m_prompts.confirmAnswers.enqueue(false);
        QSignalSpy finds(action(u"actFind"_s), &QAction::triggered);
        QSignalSpy deletes(action(u"actDel"_s), &QAction::triggered);
        QTest::keyClick(m_main.get(), Qt::Key_Delete);
        QTimer::singleShot(0, this, [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        QTest::keyClick(m_main->tvCdIndex, Qt::Key_F3);
        QCOMPARE(finds.size(), 1);
        QCOMPARE(deletes.size(), 1);
        QCOMPARE(m_prompts.kinds().last(), u"confirm"_s);
    }

    // Qt's own dialogs and buttons speak Chinese: the save dialog and a message box's
    // buttons.
    void qtDialogsSpeakChinese()
    {
        if (!InterfaceLanguage::apply(Language::Chinese))
            QSKIP("Qt's translations are missing: install qt6-translations-l10n (scripts/setup.sh does)");
        QFileDialog dialog(m_main.get());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QStringList labels;
        for (const QLabel *label : dialog.findChildren<QLabel *>())
            labels << label->text();
        QVERIFY2(labels.contains(u"查找范围："_s) && labels.contains(u"文件名称(&N)："_s),
                 qPrintable(labels.join(u'|')));
        QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(), u"取消"_s);
    }

    void panelsAndLists()
    {
        m_main->show();
        QCoreApplication::processEvents();
        QCOMPARE(m_main->windowTitle(), u"Quillon系列软件之-光盘索引库"_s);
        QVERIFY(m_main->windowState() & Qt::WindowMaximized);
        QCOMPARE(m_main->tvCdIndex->topLevelItemCount(), 1);
        QCOMPARE(m_main->tvCdIndex->topLevelItem(0)->text(0), u"光盘索引库"_s);
        QCOMPARE(m_main->tvCdIndex->indentation(), 19);
        QCOMPARE(m_main->Panel4->height(), 68);
        QCOMPARE(m_main->Panel5->width(), 201);
        QCOMPARE(m_main->MyStatusBar1->height(), 25);
        const QStringList captions{u"光盘名"_s, u"文件名"_s, u"大小"_s, u"时间"_s, u"路径"_s};
        const QList<int> widths{140, 112, 70, 131, 160};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(m_main->lvDetail->model()->headerData(i, Qt::Horizontal).toString(), captions[i]);
            QCOMPARE(m_main->lvDetail->header()->sectionSize(i), widths[i]);
        }
        QCOMPARE(m_main->lvDetail->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(m_main->lvDetail->editTriggers(), QAbstractItemView::NoEditTriggers);
        m_main->lvDetail->rows()->appendRow(
            {u"碟一"_s, {u"歌曲.mp3"_s, u"4096"_s, u"2024-05-01 12:30:00"_s, u"\\音乐\\"_s}});
        m_main->progress().SetStatusText(u"共读入:1条记录"_s);
        saveScreenshot(*m_main, u"main-window"_s);
    }

    void statusBarLayoutFollowsWidth()
    {
        for (int width : {900, 1300}) {
            m_main->setGeometry(0, 0, width, 600);
            m_main->show();
            QCoreApplication::processEvents();
            m_main->setWindowState(Qt::WindowNoState);
            m_main->resize(width, 600);
            QTRY_COMPARE(m_main->width(), width);
            // The outer width counts the window frame.
            const int outer = m_main->frameGeometry().width();
            const QRect text = m_main->MyStatusBar1->Panel7->geometry();
            const QRect bar = m_main->MyStatusBar1->pbQl->geometry();
            QCOMPARE(text, QRect(2, 1, outer - 190 + 2, 23));
            QCOMPARE(bar, QRect(text.width(), 1, 180, 23));
            QVERIFY(bar.right() < m_main->MyStatusBar1->width());
        }
    }

    void progressOperations()
    {
        QProgressBar *bar = m_main->MyStatusBar1->pbQl;
        m_main->progress().SetProgressRange(250, 0);
        QCOMPARE(bar->maximum(), 250);
        m_main->progress().SetProgressPosition(100);
        QCOMPARE(bar->value(), 100);
        m_main->progress().SetProgressRange(0, 0);
        QVERIFY(bar->maximum() > bar->minimum()); // not Qt's busy bar
        QCOMPARE(bar->value(), bar->minimum());
        m_main->progress().SetStatusText(u"已读入:5条记录"_s);
        QCOMPARE(m_main->MyStatusBar1->Panel7->text(), u"已读入:5条记录"_s);
        m_main->progress().SetStatusText(QString());
        QCOMPARE(m_main->MyStatusBar1->Panel7->text(), QString());
    }

    void reportProgressPumpsAndStopRequestEndsLoop()
    {
        m_main->show();
        QCoreApplication::processEvents();
        QVERIFY(!m_main->progress().StopRequested());
        bool ran = false;
        QMetaObject::invokeMethod(
            m_main.get(), [&] { ran = true; }, Qt::QueuedConnection);
        m_main->progress().SetProgressRange(1000, 0);
        m_main->progress().ReportProgress(u"已读入:0条记录"_s, 0);
        QVERIFY(ran);

        // The user closes the window while a loop runs: the loop ends at its next check.
        QMetaObject::invokeMethod(
            m_main.get(), [&] { m_main->close(); }, Qt::QueuedConnection);
        int done = 0;
        for (; done < 1000000; ++done) {
            m_main->progress().ReportProgress(u"已读入:%1条记录"_s.arg(done), done);
            if (m_main->progress().StopRequested())
                break;
            QTest::qSleep(1);
        }
        QVERIFY(done < 1000000);
        QVERIFY(!m_main->isVisible());
        QCOMPARE(m_main->MyStatusBar1->Panel7->text(), u"已读入:%1条记录"_s.arg(done));
        // Showing the window again clears the request.
        m_main->show();
        QVERIFY(!m_main->progress().StopRequested());
    }

    void busyStateDisablesChangingActions()
    {
        const QStringList changing{u"actCDimp"_s, u"actDriverImp"_s, u"actDel"_s,
                                   u"actFind"_s,  u"actCDexpASC"_s,  u"actExtEdition"_s};
        m_main->actionStates().setAllowed(action(u"actDel"_s), false);
        {
            ActionStates::BusyScope outer(m_main->actionStates());
            {
                ActionStates::BusyScope inner(m_main->actionStates());
                for (const QString &name : changing)
                    QVERIFY2(!action(name)->isEnabled(), qPrintable(name));
            }
            QVERIFY(!action(u"actFind"_s)->isEnabled());
            QVERIFY(action(u"actQuit"_s)->isEnabled());
            QVERIFY(action(u"actOpenCd"_s)->isEnabled());
        }
        for (const QString &name : changing)
            QCOMPARE(action(name)->isEnabled(), name != u"actDel"_s);
        m_main->actionStates().setAllowed(action(u"actDel"_s), true);
        QVERIFY(action(u"actDel"_s)->isEnabled());
        QVERIFY(!action(u"actComment"_s)->isEnabled());
    }

    void guardShowsErrorAndProgramGoesOn()
    {
        QAction trigger;
        int closingSteps = 0;
        QObject::connect(&trigger, &QAction::triggered, m_main.get(), ActionGuard::wrap(m_prompts, [&] {
            struct Closing {
                int &steps;
                ~Closing() { ++steps; }
            } closing{closingSteps};
            throw DbError(u"no such table: CdRomListDt"_s);
        }));
        trigger.trigger();
        trigger.trigger();
        QCOMPARE(closingSteps, 2);
        QCOMPARE(m_prompts.kinds(), (QStringList{u"critical"_s, u"critical"_s}));
        QCOMPARE(m_prompts.calls.first().text, u"no such table: CdRomListDt"_s);

        ActionGuard::run(m_prompts, [] { throw std::runtime_error("disk full"); });
        QCOMPARE(m_prompts.calls.last().text, u"disk full"_s);
    }

    // The manual opens in the program's own window, with its pictures; its button hands
    // the page to the browser.
    void helpOpensTheManualOrSaysWhy()
    {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
        const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler(u"file"_s); });
        action(u"actHelp"_s)->trigger();
        QCOMPARE(m_prompts.kinds(), QStringList{u"message"_s});
        QCOMPARE(m_prompts.calls.first().text, u"打开帮助文件时出现异常"_s);

        QDir(m_session->dir.path()).mkpath(u"Help/img"_s);
        QImage picture(1200, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(m_session->dir.path() + u"/Help/img/p.png"_s));
        QFile manual(m_session->dir.path() + u"/Help/Quillon.html"_s);
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.write("<meta charset=\"utf-8\"><h1>\xe6\x89\x8b\xe5\x86\x8c</h1><img src=\"img/p.png\">");
        manual.close();
        action(u"actHelp"_s)->trigger();
        THelpWindow *help = m_main->helpWindow();
        QVERIFY(help && help->isVisible());
        QVERIFY(recorder.urls.isEmpty());
        QCOMPARE(help->browser()->toPlainText().left(2), u"手册"_s);
        const QImage shown =
            help->browser()->document()->resource(QTextDocument::ImageResource, QUrl(u"img/p.png"_s)).value<QImage>();
        QVERIFY(!shown.isNull() && shown.width() < 1200);
        help->openInBrowser()->click();
        QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(m_session->dir.path() + u"/Help/Quillon.html"_s)});
        QCOMPARE(m_prompts.calls.size(), 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
