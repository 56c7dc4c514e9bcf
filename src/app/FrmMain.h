#pragma once

#include "store/ProgressSink.h"
#include "ui/FrmRoot.h"

#include "DiscNode.h"

#include <QHash>
#include <QMainWindow>
#include <optional>
#include <vector>

class QAction;
class QFrame;
class QMenu;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class Prompts;
class FileRowModel;
class ListFeeder;
class TQuery;
class TdmQL;
class TLCommFunction;
class TMyStatusBar;
class TSortableListView;
class TDriveListView;

// The main window: toolbar, menus, the tree of discs beside the file list, the drive
// status list and the status bar. It owns the stop request that ends long loops.
class TfrmMain : public TfrmRoot<QMainWindow>, public ProgressSink {
    Q_OBJECT
public:
    TfrmMain(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Status operations.
    void SetStatusText(const QString &text) override;
    void SetProgressRange(int max, int min) override;
    void SetProgressPosition(int position) override;
    void ReportProgress(const QString &text, int position) override;
    bool StopRequested() const override { return m_stopRequest; }

    // While a BusyScope lives, the actions that change the list or the catalogue are
    // disabled; they come back as they were when the last one ends.
    class BusyScope {
    public:
        explicit BusyScope(TfrmMain &window);
        ~BusyScope();
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        TfrmMain &m_window;
    };
    bool busy() const { return m_busy > 0; }
    // Sets an action's own enabled state (what it shows when the window is not busy).
    void setActionAllowed(QAction *action, bool allowed);

    // The catalogue browser: the tree of discs and the file list of the selected one.
    void ReloadDiscTree();
    void AddDiscNode(TQuery &query, QTreeWidgetItem *parent);
    void ReopenDiscList();
    void LoadDiscFiles();
    void ClearSortMarks(int keep);
    QTreeWidgetItem *rootNode() const;
    // The record of the selected node when it is a disc node.
    std::optional<TDiscNode> selectedDisc() const;
    static std::optional<TDiscNode> discOf(const QTreeWidgetItem *item);
    // Stores the rows of an accepted import under the disc of that name.
    void StoreDiscFiles(const FileRowModel &rows, const QString &discName);
    // Lists the file records an open search query found, with their disc names.
    void ShowQueryResult(TQuery &query);

    QFrame *Panel1;
    QToolBar *tb;
    QFrame *Panel2;
    TMyStatusBar *MyStatusBar1;
    QFrame *Panel4;
    QSplitter *Splitter1;
    QFrame *Panel3;
    QFrame *Panel5;
    QTreeWidget *tvCdIndex;
    QSplitter *Splitter2;
    QFrame *Panel6;
    TSortableListView *lvDetail;
    TDriveListView *dlvStatus;
    QMenu *pmCdIndex;
    QMenu *pmStatus;

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

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QAction *makeAction(const char *name, const QString &caption, const QString &hint, int image);
    void createActions();
    void createMenus();
    void createPanels();
    QFrame *createToolbarPanel();
    QFrame *createFilePanels();
    void connectActions();
    void updateActionStates();
    void FormShow();
    void tvCdIndexChange();
    void loadSelectedDisc(const TDiscNode &disc);
    void pmCdIndexPopup();
    void actDelExecute();
    void lvDetailColumnClick(int column);
    void actCDexpASCExecute();
    void actFindExecute();
    void FormPaint();
    void actQuitExecute();
    void actHelpExecute();
    void actExtEditionExecute();
    void actAboutExecute();
    void actCDimpExecute();
    void actDriverImpExecute();
    void runImport(int mode);
    void sortDiscNodes();
    void actOpenCdExecute();
    void actCloseCdExecute();
    void actAllOpenExecute();
    void actAllCloseExecute();
    void moveSelectedTrays(bool open, const QString &emptyMessage);
    void moveAllTrays(bool open);

    TdmQL &m_dm;
    TLCommFunction &m_commFunction;
    Prompts &m_prompts;
    bool m_stopRequest = false;
    int m_busy = 0;
    QHash<QAction *, bool> m_allowed;
    EventPump m_pump;
    friend class ListFeeder;
    std::vector<ListFeeder *> m_feeders;
};
