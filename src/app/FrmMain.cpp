#include "FrmMain.h"

#include "AboutBox.h"
#include "DiscBrowser.h"
#include "DiscShelf.h"
#include "HelpWindow.h"
#include "Startup.h"
#include "VerifyController.h"
#include "drives/DriveListView.h"
#include "drives/StatusFrames.h"
#include "import/ExtEdition.h"
#include "import/ImportController.h"
#include "import/UpdateController.h"
#include "language/Language.h"
#include "search/ExportController.h"
#include "search/FrmCopies.h"
#include "search/SearchController.h"
#include "search/SearchIndexBuilder.h"
#include "store/CataloguedDiscs.h"
#include "store/DmQL.h"
#include "ui/ActionGuard.h"
#include "ui/ApplicationTitle.h"
#include "ui/Icons.h"
#include "ui/MyStatusBar.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);

QFrame *panel(QWidget *parent, const QString &name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    frame->setPalette(palette);
    return frame;
}

QVBoxLayout *fill(QWidget *parent, QWidget *child)
{
    auto *layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (child)
        layout->addWidget(child);
    return layout;
}

} // namespace

TfrmMain::TfrmMain(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, QWidget *parent)
    : TfrmRoot<QMainWindow>(parent)
    , m_dm(dm)
    , m_commFunction(commFunction)
    , m_prompts(prompts)
{
    setObjectName(u"frmMain"_s);
    setWindowIcon(Icons::program());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kSilver);
    setPalette(palette);
    resize(1032, 713);
    createActions();
    createPanels();
    createMenus();
    createFeatures();
    connectActions();
    connectBrowser();
    retranslateUi();
    m_actionStates.setAllowed(actDel, false);
    ActionGuard::run(m_prompts, [this] { dlvStatus->Loaded(); });
}

TfrmMain::~TfrmMain() = default;

QAction *TfrmMain::makeAction(const char *name, int image)
{
    auto *action = new QAction(this);
    action->setObjectName(QLatin1StringView(name));
    if (image >= 0)
        action->setIcon(Icons::il(image));
    m_actionStates.add(action);
    return action;
}

// An action's caption, and its hint as tooltip and status tip; without a hint the
// tooltip is the caption.
void TfrmMain::setActionTexts(QAction *action, const QString &caption, const QString &hint)
{
    action->setText(caption);
    action->setToolTip(hint.isEmpty() ? QString(caption).remove(u'&') : hint);
    action->setStatusTip(hint);
}

void TfrmMain::createActions()
{
    actCDimp = makeAction("actCDimp", 0);
    actCDexpASC = makeAction("actCDexpASC", 4);
    actExtEdition = makeAction("actExtEdition", -1);
    actFind = makeAction("actFind", 1);
    actFind->setShortcut(QKeySequence(Qt::Key_F3));
    actDel = makeAction("actDel", 2);
    actDel->setShortcut(QKeySequence(Qt::Key_Delete));
    actCopies = makeAction("actCopies", -1);
    actDiscCopies = makeAction("actDiscCopies", -1);
    actQuit = makeAction("actQuit", -1);
    actHelp = makeAction("actHelp", -1);
    actAbout = makeAction("actAbout", -1);
    actComment = makeAction("actComment", 3);
    m_actionStates.setAllowed(actComment, false);
    actOpenCd = makeAction("actOpenCd", -1);
    actCloseCd = makeAction("actCloseCd", -1);
    actAllOpen = makeAction("actAllOpen", -1);
    actAllClose = makeAction("actAllClose", -1);
    for (QAction *action : {actOpenCd, actCloseCd, actAllOpen, actAllClose})
        action->setProperty("category", u"Status"_s);
    actDriverImp = makeAction("actDriverImp", -1);
    actProperties = makeAction("actProperties", -1);
    actProperties->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Return));
    actLentDiscs = makeAction("actLentDiscs", -1);
    actUpdate = makeAction("actUpdate", -1);
    m_actionStates.setAllowed(actUpdate, false);
    actVerify = makeAction("actVerify", -1);
    m_actionStates.setAllowed(actVerify, false);
    actDueDiscs = makeAction("actDueDiscs", -1);
    m_actionStates.setChanging({actCDimp, actDriverImp, actDel, actFind, actCDexpASC, actExtEdition, actProperties,
                                actLentDiscs, actUpdate, actVerify, actDueDiscs});
    m_actionStates.setWriting({actCDimp, actDriverImp, actDel, actExtEdition, actComment, actUpdate, actVerify});
    m_actionStates.setReadOnly(m_dm.readOnlyReason());
}

void TfrmMain::retranslateActions()
{
    setActionTexts(actCDimp, tr("光盘导入(&I)"), tr("光盘导入"));
    setActionTexts(actCDexpASC, tr("导出(&E)"), tr("导出"));
    setActionTexts(actExtEdition, tr("扩展名编辑"), tr("扩展名编辑"));
    setActionTexts(actFind, tr("查询(&F)"), tr("查询"));
    setActionTexts(actDel, tr("删除(&D)"), tr("删除"));
    setActionTexts(actProperties, tr("属性(&R)"), tr("光盘的位置、说明、关键词和借出"));
    setActionTexts(actUpdate, tr("更新(&U)"), tr("按导入记录重新扫描光盘的来源，在原处更新它的文件"));
    setActionTexts(actLentDiscs, tr("借出的光盘(&L)"), tr("列出借出的光盘"));
    setActionTexts(actVerify, tr("校验光盘(&V)"), tr("把光盘再读一遍，与光盘索引库比较：文件是否都还能读，有没有改变"));
    setActionTexts(actDueDiscs, tr("需要检查的光盘(&K)"), tr("从未校验过的光盘，和很久没有校验的光盘"));
    setActionTexts(actCopies, tr("副本统计(&C)"), tr("哪些文件只在一张光盘上，哪些在几张光盘上都有"));
    setActionTexts(actDiscCopies, tr("副本统计"), tr("这张光盘的文件在别的光盘上有没有副本"));
    setActionTexts(actQuit, tr("退出(&X)"));
    setActionTexts(actHelp, tr("用户手册(&H)"));
    setActionTexts(actAbout, tr("关于光盘索引(&A)"));
    setActionTexts(actComment, tr("备注"), tr("备注"));
    setActionTexts(actOpenCd, tr("  弹  出"));
    setActionTexts(actCloseCd, tr("  关  闭"));
    setActionTexts(actAllOpen, tr("全部弹出"));
    setActionTexts(actAllClose, tr("全部关闭"));
    setActionTexts(actDriverImp, tr("磁盘导入"), tr("磁盘导入"));
    m_actionStates.showReadOnlyReason();
}

// Menu items copy their action's caption; the File menu names the disc import
// differently from the action itself.
void TfrmMain::retranslateMenus()
{
    mnuFile->setTitle(tr("文件(&F)"));
    mnuEdit->setTitle(tr("编辑(&E)"));
    edtDiscFilter->setPlaceholderText(tr("查找光盘…"));
    edtDiscFilter->setToolTip(tr("按光盘名、卷标、位置、说明或关键词查找光盘，也按拼音"));
    mnuSettings->setTitle(tr("设置"));
    mnuHelp->setTitle(tr("帮助(&H)"));
    for (auto [item, action] : m_menuItems.asKeyValueRange())
        item->setText(action->text());
    findChild<QAction *>(u"miCDimp"_s)->setText(tr("新的CD"));
}

void TfrmMain::retranslateUi()
{
    setWindowTitle(Startup::applicationTitle());
    retranslateActions();
    retranslateMenus();
    rootNode()->setText(0, tr("光盘索引库"));
    m_browser->setColumnCaptions({tr("光盘名"), tr("文件名"), tr("大小"), tr("时间"), tr("路径")});
    const bool english = InterfaceLanguage::current() == Language::English;
    actEnglish->setChecked(english);
    actChinese->setChecked(!english);
}

void TfrmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
        // The last status text was written in the language before; the next one comes
        // in the new language (a read-only catalogue's reason at once).
        if (!m_actionStates.busy())
            m_progress->SetStatusText(m_actionStates.readOnly().text());
    }
    TfrmRoot<QMainWindow>::changeEvent(event);
}

// Puts the language in force in every window at once and keeps it for the next start.
void TfrmMain::chooseLanguage(Language language)
{
    if (language == InterfaceLanguage::current())
        return;
    InterfaceLanguage::apply(language);
    InterfaceLanguage::save(language);
    ApplicationTitle::set(Startup::applicationTitle());
}

// A menu item of its own that runs an action and follows its enabled
// state, but never takes its shortcut: two actions of one window with the same key make
// the key ambiguous, and then it does nothing.
QAction *TfrmMain::menuItem(const char *name, QAction *action)
{
    auto *item = new QAction(this);
    m_menuItems.insert(item, action);
    item->setObjectName(QLatin1StringView(name));
    item->setIcon(action->icon());
    item->setEnabled(action->isEnabled());
    connect(item, &QAction::triggered, action, &QAction::trigger);
    connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
    return item;
}

void TfrmMain::createMenus()
{
    QMenuBar *MainMenu1 = menuBar();
    MainMenu1->setObjectName(u"MainMenu1"_s);
    mnuFile = MainMenu1->addMenu(QString());
    mnuFile->setObjectName(u"mnuFile"_s);
    mnuFile->addAction(menuItem("miCDimp", actCDimp));
    mnuFile->addAction(menuItem("miDriverImp", actDriverImp));
    mnuFile->addSeparator();
    mnuFile->addAction(menuItem("miQuit", actQuit));

    mnuEdit = MainMenu1->addMenu(QString());
    mnuEdit->setObjectName(u"mnuEdit"_s);
    mnuEdit->addAction(menuItem("miDel", actDel));
    mnuEdit->addAction(menuItem("miProperties", actProperties));
    mnuEdit->addAction(menuItem("miUpdate", actUpdate));
    mnuEdit->addAction(menuItem("miLentDiscs", actLentDiscs));
    mnuEdit->addAction(menuItem("miVerify", actVerify));
    mnuEdit->addAction(menuItem("miDueDiscs", actDueDiscs));
    mnuEdit->addSeparator();
    mnuEdit->addAction(menuItem("miexp", actCDexpASC));
    mnuEdit->addAction(menuItem("miCopies", actCopies));
    mnuEdit->addSeparator();
    createLanguageMenu(mnuEdit->addMenu(u"Language"_s));
    mnuEdit->addSeparator();
    mnuSettings = mnuEdit->addMenu(QString());
    mnuSettings->setObjectName(u"mnuSettings"_s);
    mnuSettings->addAction(menuItem("miExtEdition", actExtEdition));

    mnuHelp = MainMenu1->addMenu(QString());
    mnuHelp->setObjectName(u"mnuHelp"_s);
    mnuHelp->addAction(menuItem("miCustomer", actHelp));
    mnuHelp->addSeparator();
    mnuHelp->addAction(menuItem("miAbout", actAbout));

    pmCdIndex = new QMenu(this);
    pmCdIndex->setObjectName(u"pmCdIndex"_s);
    pmCdIndex->addActions({actCDimp, actComment, actDiscCopies, actVerify});
    pmCdIndex->addSeparator();
    pmCdIndex->addAction(actDel);
    pmCdIndex->addSeparator();
    pmCdIndex->addActions({actProperties, actUpdate});

    pmStatus = new QMenu(this);
    pmStatus->setObjectName(u"pmStatus"_s);
    pmStatus->addActions({actOpenCd, actCloseCd});
    pmStatus->addSeparator();
    pmStatus->addActions({actAllOpen, actAllClose});
}

// Each language named in its own way, one of them ticked; a click on the ticked one
// cannot untick it.
void TfrmMain::createLanguageMenu(QMenu *menu)
{
    menu->setObjectName(u"mnuLanguage"_s);
    auto *languages = new QActionGroup(this);
    languages->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    const auto entry = [&](const char *name, const QString &text, Language language) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1StringView(name));
        action->setCheckable(true);
        languages->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] { chooseLanguage(language); });
        return action;
    };
    actChinese = entry("miChinese", u"Chinese(GB)"_s, Language::Chinese);
    actEnglish = entry("miEnglish", u"English"_s, Language::English);
}

QFrame *TfrmMain::createToolbarPanel()
{
    Panel1 = panel(this, u"Panel1"_s);
    Panel1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    tb = new QToolBar(Panel1);
    tb->setObjectName(u"tb"_s);
    tb->setMovable(false);
    tb->setFloatable(false);
    tb->setIconSize(QSize(24, 24));
    tb->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tb->addActions({actCDimp, actComment, actCDexpASC, actDel, actFind});
    auto *layout = fill(Panel1, tb);
    layout->setContentsMargins(2, 2, 2, 2);
    Panel1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return Panel1;
}

QFrame *TfrmMain::createFilePanels()
{
    Panel3 = panel(this, u"Panel3"_s);
    Splitter2 = new QSplitter(Qt::Horizontal, Panel3);
    Splitter2->setObjectName(u"Splitter2"_s);
    Splitter2->setHandleWidth(2);
    Splitter2->setChildrenCollapsible(false);
    fill(Panel3, Splitter2);

    Panel5 = panel(Splitter2, u"Panel5"_s);
    tvCdIndex = new QTreeWidget(Panel5);
    tvCdIndex->setObjectName(u"tvCdIndex"_s);
    tvCdIndex->setHeaderHidden(true);
    tvCdIndex->setIndentation(19);
    tvCdIndex->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvCdIndex->setContextMenuPolicy(Qt::CustomContextMenu);
    QPalette keepSelection = tvCdIndex->palette();
    keepSelection.setColor(QPalette::Inactive, QPalette::Highlight,
                           keepSelection.color(QPalette::Active, QPalette::Highlight));
    keepSelection.setColor(QPalette::Inactive, QPalette::HighlightedText,
                           keepSelection.color(QPalette::Active, QPalette::HighlightedText));
    tvCdIndex->setPalette(keepSelection);
    auto *root = new QTreeWidgetItem(tvCdIndex);
    root->setIcon(0, Icons::ilQl(2));
    edtDiscFilter = new QLineEdit(Panel5);
    edtDiscFilter->setObjectName(u"edtDiscFilter"_s);
    fill(Panel5, edtDiscFilter)->addWidget(tvCdIndex);

    Panel6 = panel(Splitter2, u"Panel6"_s);
    lvDetail = new TSortableListView(Panel6);
    lvDetail->setObjectName(u"lvDetail"_s);
    lvDetail->setPalette(keepSelection);
    lvDetail->setColumns(QStringList(5, QString()), {140, 112, 70, 131, 160});
    fill(Panel6, lvDetail);
    Splitter2->addWidget(Panel5);
    Splitter2->addWidget(Panel6);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({201, 1032 - 201});
    return Panel3;
}

void TfrmMain::createPanels()
{
    auto *central = new QWidget(this);
    auto *layout = fill(central, createToolbarPanel());

    Splitter1 = new QSplitter(Qt::Vertical, central);
    Splitter1->setObjectName(u"Splitter1"_s);
    Splitter1->setHandleWidth(1);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(createFilePanels());
    Panel4 = panel(Splitter1, u"Panel4"_s);
    Panel4->setMinimumHeight(20);
    dlvStatus = new TDriveListView(m_prompts, Panel4);
    dlvStatus->setObjectName(u"dlvStatus"_s);
    dlvStatus->setSmallImages(StatusFrames::ilStatus());
    dlvStatus->setContextMenuPolicy(Qt::CustomContextMenu);
    fill(Panel4, dlvStatus);
    Splitter1->addWidget(Panel4);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({713 - 68, 68});
    layout->addWidget(Splitter1, 1);

    Panel2 = panel(central, u"Panel2"_s);
    MyStatusBar1 = new TMyStatusBar(Panel2);
    fill(Panel2, MyStatusBar1);
    layout->addWidget(Panel2);
    setCentralWidget(central);
}

// The features of the window, each given the widgets it works on.
void TfrmMain::createFeatures()
{
    m_progress = std::make_unique<StatusProgress>(*MyStatusBar1);
    m_browser =
        new DiscBrowser(m_dm, m_commFunction, m_prompts, *m_progress, m_actionStates, *tvCdIndex, *lvDetail, *actDel);
    m_shelf = new DiscShelf(m_dm.aConQl.connectionName(), m_prompts, m_actionStates, *tvCdIndex, *edtDiscFilter,
                            *actProperties);
    m_import = new ImportController(m_dm, m_commFunction, m_prompts, *m_progress, m_actionStates, this, Panel3);
    connect(m_import, &ImportController::discStored, m_browser, &DiscBrowser::AddStoredDisc);
    connect(m_import, &ImportController::discStored, m_shelf, &DiscShelf::refresh);
    m_update = new UpdateController(m_dm, m_commFunction, m_prompts, *m_progress, m_actionStates, this, Panel3);
    connect(m_update, &UpdateController::discUpdated, this,
            ActionGuard::wrap(m_prompts, [this] { m_browser->tvCdIndexChange(); }));
    connect(m_update, &UpdateController::discUpdated, m_shelf, &DiscShelf::refresh);
    connect(m_browser, &DiscBrowser::discDeleted, m_shelf, &DiscShelf::refresh);
    m_search = new SearchController(
        m_dm, m_prompts, *m_progress, m_actionStates, *lvDetail, *actFind, [this] { return m_browser->discNames(); },
        this, Panel3);
    m_export = new ExportController(m_dm, m_prompts, *m_progress, m_actionStates, *lvDetail, Panel3);
    m_verify = new VerifyController(m_dm, m_prompts, *m_progress, m_actionStates, this);
    connect(m_verify, &VerifyController::verified, m_shelf, &DiscShelf::refresh);
    m_indexBuilder = new SearchIndexBuilder(
        m_dm.aConQl.connectionName(), *m_progress,
        [this] { return !m_actionStates.busy() && !QApplication::activeModalWidget(); }, this);
    connectDriveList();
}

// The drive list names the catalogued disc in each drive and leads to it in the tree.
void TfrmMain::connectDriveList()
{
    dlvStatus->setCatalogueLookup(
        [this](const QString &label, const QString &serial) { return CataloguedDiscs::names(m_dm, label, serial); });
    connect(m_import, &ImportController::discStored, dlvStatus, &TDriveListView::RefreshCatalogued);
    connect(m_browser, &DiscBrowser::discDeleted, dlvStatus, &TDriveListView::RefreshCatalogued);
    connect(m_shelf, &DiscShelf::discRenamed, dlvStatus, &TDriveListView::RefreshCatalogued);
    connect(dlvStatus, &TDriveListView::catalogedDiscChosen, this,
            [this](const QString &name) { ActionGuard::run(m_prompts, [&] { m_browser->SelectDisc(name); }); });
}

void TfrmMain::connectActions()
{
    const auto forward = [this](QAction *action, auto handler) {
        connect(action, &QAction::triggered, this, ActionGuard::wrap(m_prompts, handler));
    };
    forward(actQuit, [this] { actQuitExecute(); });
    forward(actHelp, [this] { actHelpExecute(); });
    forward(actAbout, [this] { actAboutExecute(); });
    forward(actExtEdition, [this] { actExtEditionExecute(); });
    forward(actOpenCd, [this] { dlvStatus->actOpenCdExecute(); });
    forward(actCloseCd, [this] { dlvStatus->actCloseCdExecute(); });
    forward(actAllOpen, [this] { dlvStatus->actAllOpenExecute(); });
    forward(actAllClose, [this] { dlvStatus->actAllCloseExecute(); });
    forward(actCDexpASC, [this] { m_export->actCDexpASCExecute(); });
    forward(actCDimp, [this] { m_import->actCDimpExecute(); });
    forward(actDriverImp, [this] { m_import->actDriverImpExecute(); });
    forward(actFind, [this] { m_search->actFindExecute(); });
    forward(actDel, [this] { m_browser->actDelExecute(); });
    forward(actProperties, [this] { m_shelf->showProperties(); });
    forward(actUpdate, [this] {
        if (const std::optional<TDiscNode> disc = m_browser->selectedDisc())
            m_update->update(disc->DiskCode, disc->DiskName);
    });
    forward(actLentDiscs, [this] { m_shelf->showLentDiscs(this); });
    forward(actDueDiscs, [this] { m_shelf->showDueDiscs(this); });
    forward(actVerify, [this] {
        if (const std::optional<TDiscNode> disc = m_browser->selectedDisc())
            m_verify->verify(*disc);
    });
    forward(actCopies, [this] { actCopiesExecute(false); });
    forward(actDiscCopies, [this] { actCopiesExecute(true); });
    connect(dlvStatus, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { pmStatus->popup(dlvStatus->viewport()->mapToGlobal(at)); });
}

void TfrmMain::connectBrowser()
{
    connect(tvCdIndex, &QTreeWidget::currentItemChanged, this,
            ActionGuard::wrap(m_prompts, [this] { m_browser->tvCdIndexChange(); }));
    connect(tvCdIndex, &QTreeWidget::currentItemChanged, m_shelf, &DiscShelf::currentChanged);
    connect(tvCdIndex, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        const bool disc = DiscBrowser::discOf(item).has_value();
        m_actionStates.setAllowed(actUpdate, disc);
        m_actionStates.setAllowed(actVerify, disc);
    });
    connect(tvCdIndex, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        ActionGuard::run(m_prompts, [this, item] { m_shelf->showProperties(item); });
    });
    connect(tvCdIndex, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        ActionGuard::run(m_prompts, [this] { m_browser->pmCdIndexPopup(); });
        pmCdIndex->popup(tvCdIndex->viewport()->mapToGlobal(at));
    });
    connect(lvDetail->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        ActionGuard::run(m_prompts, [this, column] { m_browser->lvDetailColumnClick(column); });
    });
}

QTreeWidgetItem *TfrmMain::rootNode() const
{
    return m_browser->rootNode();
}

void TfrmMain::showEvent(QShowEvent *event)
{
    TfrmRoot<QMainWindow>::showEvent(event);
    if (!event->spontaneous())
        FormShow();
    FormPaint();
}

void TfrmMain::FormShow()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    m_progress->ClearStopRequest();
    ActionGuard::run(m_prompts, [this] {
        m_browser->ReloadDiscTree();
        m_shelf->refresh();
    });
    tvCdIndex->expandAll();
    // A catalogue that may only be read says why in the status line, and its index is used
    // as it is. Otherwise the index is built after the window is on the screen, never before.
    if (m_actionStates.readOnly().readOnly())
        m_progress->SetStatusText(m_actionStates.readOnly().text());
    else
        QTimer::singleShot(0, m_indexBuilder, &SearchIndexBuilder::start);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    // Closing is always allowed; long loops end at their next check.
    m_progress->RequestStop();
    event->accept();
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    TfrmRoot<QMainWindow>::resizeEvent(event);
    FormPaint();
}

void TfrmMain::FormPaint()
{
    MyStatusBar1->layoutFor(frameGeometry().width());
}

void TfrmMain::actQuitExecute()
{
    close();
}

// The manual beside the program (a build tree or an unpacked folder), else where it is
// installed, in the program's own help window.
void TfrmMain::actHelpExecute()
{
    const bool english = InterfaceLanguage::current() == Language::English;
    QString helpDir = m_dm.programDir() + u"Help/"_s;
    if (!QFileInfo(THelpWindow::manualFile(helpDir, english)).isFile())
        helpDir = m_dm.programDir() + u"../share/quillon/help/"_s;
    if (!QFileInfo(THelpWindow::manualFile(helpDir, english)).isFile()) {
        m_prompts.message(tr("打开帮助文件时出现异常"));
        return;
    }
    if (!m_help)
        m_help = new THelpWindow(QDir::cleanPath(helpDir), m_prompts, this);
    m_help->showManual();
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

// The category editor writes every change at once; nothing here is reloaded afterwards.
void TfrmMain::actAboutExecute()
{
    const std::unique_ptr<TAboutBox> dialog(new TAboutBox(m_prompts, this));
    dialog->exec();
}

void TfrmMain::actCopiesExecute(bool oneDisc)
{
    std::optional<TfrmCopies::Disc> disc;
    if (oneDisc) {
        const std::optional<TDiscNode> node = m_browser->selectedDisc();
        if (!node)
            return;
        disc = TfrmCopies::Disc{node->DiskCode, node->DiskName};
    }
    const std::unique_ptr<TfrmCopies> dialog(new TfrmCopies(m_dm.aConQl.connectionName(), disc, this));
    dialog->show();
    {
        ActionStates::BusyScope busy(m_actionStates);
        dialog->fill(*m_progress);
    }
    dialog->exec();
}

void TfrmMain::actExtEditionExecute()
{
    const std::unique_ptr<TfrmExtEdition> dialog(new TfrmExtEdition(m_dm, m_commFunction, m_prompts, this));
    dialog->SetMode(1);
    dialog->exec();
}
