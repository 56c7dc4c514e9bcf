#pragma once

#include "language/Language.h"
#include "ui/ActionStates.h"
#include "ui/FrmRoot.h"

#include <QHash>
#include <QMainWindow>
#include <memory>

class QAction;
class QFrame;
class QMenu;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class DiscBrowser;
class DiscShelf;
class QLineEdit;
class ExportController;
class VerifyController;
class ImportController;
class UpdateController;
class Prompts;
class SearchController;
class SearchIndexBuilder;
class THelpWindow;
class StatusProgress;
class TdmQL;
class TLCommFunction;
class TMyStatusBar;
class TSortableListView;
class TDriveListView;

// The main window: toolbar, menus, the tree of discs beside the file list, the drive
// status list and the status bar. It creates the features and forwards each action to the
// one that owns it; the status line's progress object holds the stop request that ends
// long loops when the window closes.
class TfrmMain : public TfrmRoot<QMainWindow> {
    Q_OBJECT
public:
    TfrmMain(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, QWidget *parent = nullptr);
    ~TfrmMain() override;

    StatusProgress &progress() { return *m_progress; }
    ActionStates &actionStates() { return m_actionStates; }
    DiscBrowser &browser() { return *m_browser; }
    DiscShelf &shelf() { return *m_shelf; }
    ImportController &importer() { return *m_import; }
    SearchController &search() { return *m_search; }
    ExportController &exporter() { return *m_export; }
    // The help window once 帮助 has opened it.
    THelpWindow *helpWindow() const { return m_help; }
    // The root node of the disc tree.
    QTreeWidgetItem *rootNode() const;

    QFrame *Panel1;
    QToolBar *tb;
    QFrame *Panel2;
    TMyStatusBar *MyStatusBar1;
    QFrame *Panel4;
    QSplitter *Splitter1;
    QFrame *Panel3;
    QFrame *Panel5;
    QLineEdit *edtDiscFilter;
    QTreeWidget *tvCdIndex;
    QSplitter *Splitter2;
    QFrame *Panel6;
    TSortableListView *lvDetail;
    TDriveListView *dlvStatus;
    QMenu *pmCdIndex;
    QMenu *pmStatus;
    QMenu *mnuFile;
    QMenu *mnuEdit;
    QMenu *mnuSettings;
    QMenu *mnuHelp;

    QAction *actCDimp;
    QAction *actCDexpASC;
    QAction *actExtEdition;
    QAction *actFind;
    QAction *actDel;
    QAction *actQuit;
    QAction *actHelp;
    QAction *actAbout;
    QAction *actComment;
    QAction *actOpenCd;
    QAction *actCloseCd;
    QAction *actAllOpen;
    QAction *actAllClose;
    QAction *actDriverImp;
    // 副本统计: of the whole catalogue (menu), of the chosen disc (the tree's menu).
    QAction *actCopies;
    QAction *actDiscCopies;
    QAction *actChinese;
    QAction *actEnglish;
    QAction *actProperties;
    QAction *actUpdate;
    QAction *actLentDiscs;
    QAction *actVerify;
    QAction *actDueDiscs;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QAction *makeAction(const char *name, int image);
    static void setActionTexts(QAction *action, const QString &caption, const QString &hint = QString());
    void createActions();
    QAction *menuItem(const char *name, QAction *action);
    void createMenus();
    void createLanguageMenu(QMenu *menu);
    // Sets every text the window shows in the interface's language.
    void retranslateUi();
    void retranslateActions();
    void retranslateMenus();
    void chooseLanguage(Language language);
    void createPanels();
    QFrame *createToolbarPanel();
    QFrame *createFilePanels();
    void createFeatures();
    void connectDriveList();
    void connectActions();
    void connectBrowser();
    void FormShow();
    void FormPaint();
    void actQuitExecute();
    void actHelpExecute();
    void actExtEditionExecute();
    void actCopiesExecute(bool oneDisc);
    void actAboutExecute();

    TdmQL &m_dm;
    TLCommFunction &m_commFunction;
    Prompts &m_prompts;
    ActionStates m_actionStates;
    // Each menu item and the action it runs.
    QHash<QAction *, QAction *> m_menuItems;
    std::unique_ptr<StatusProgress> m_progress;
    DiscBrowser *m_browser = nullptr;
    DiscShelf *m_shelf = nullptr;
    ImportController *m_import = nullptr;
    UpdateController *m_update = nullptr;
    SearchController *m_search = nullptr;
    ExportController *m_export = nullptr;
    VerifyController *m_verify = nullptr;
    SearchIndexBuilder *m_indexBuilder = nullptr;
    THelpWindow *m_help = nullptr;
};
