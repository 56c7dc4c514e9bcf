#include "ExtEdition.h"

#include "ui/ActionButton.h"
#include "ui/ActionGuard.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The editor's measures in pixels, as the dialog was drawn.
constexpr int kLeftWidth = 238;
constexpr int kListLeft = 16;
constexpr int kListWidth = 203;
constexpr int kChooserTop = 26;
constexpr int kMaskListTop = 28;
constexpr int kMaskListMargin = 8;
constexpr int kButtonLeft = 12;
constexpr int kButtonWidth = 93;
constexpr int kButtonHeight = 25;
constexpr int kButtonTops[] = {82, 112, 142};
constexpr int kEditorHeight = 382;

QFrame *panel(QWidget *parent, const QString &name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    return frame;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, QPoint at)
{
    auto *created = new QLabel(text, parent);
    created->setObjectName(name);
    created->move(at);
    created->adjustSize();
    return created;
}

} // namespace

TfrmExtEdition::TfrmExtEdition(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, QWidget *parent)
    : TfrmRoot<QDialog>(parent)
    , m_dm(dm)
    , m_commFunction(commFunction)
    , m_prompts(prompts)
{
    setObjectName(u"frmExtEdition"_s);
    createActions();
    createImportActions();
    createMenu();
    createPanels();
}

TfrmExtEdition::~TfrmExtEdition() = default;

void TfrmExtEdition::guarded(const std::function<void()> &handler)
{
    ActionGuard::run(m_prompts, handler);
}

QAction *TfrmExtEdition::makeAction(const char *name, const QString &caption, void (TfrmExtEdition::*handler)())
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1StringView(name));
    connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    return action;
}

void TfrmExtEdition::createActions()
{
    actAdd = makeAction("actAdd", u"添加名称(&A)"_s, &TfrmExtEdition::actAddExecute);
    actEdit = makeAction("actEdit", u"修改名称(&E)"_s, &TfrmExtEdition::actEditExecute);
    actDel = makeAction("actDel", u"删除名称(&D)"_s, &TfrmExtEdition::actDelExecute);
    actDAdd = makeAction("actDAdd", u"增加"_s, &TfrmExtEdition::actDAddExecute);
    actDEdit = makeAction("actDEdit", u"修改"_s, &TfrmExtEdition::actDEditExecute);
    actDErase = makeAction("actDErase", u"删除"_s, &TfrmExtEdition::actDEraseExecute);
    setMaskActions(false);
}

void TfrmExtEdition::createMenu()
{
    mmExt = new QMenuBar(this);
    mmExt->setObjectName(u"mmExt"_s);
    mmExt->addMenu(u"菜单(&c)"_s)->addActions({actAdd, actEdit, actDel});
}

QFrame *TfrmExtEdition::createCategoryPanel(QWidget *parent)
{
    pnlCatalog = panel(parent, u"pnlCatalog"_s);
    Label1 = label(pnlCatalog, u"Label1"_s, u"扩展名称："_s, {16, 7});
    cbCatalog = new QComboBox(pnlCatalog);
    cbCatalog->setObjectName(u"cbCatalog"_s);
    cbCatalog->setEditable(false);
    const int height = cbCatalog->sizeHint().height();
    cbCatalog->setGeometry(kListLeft, kChooserTop, kListWidth, height);
    pnlCatalog->setFixedHeight(kChooserTop + height + 6);
    // Only the user's choice runs the selection change, not a change made by the program.
    connect(cbCatalog, &QComboBox::activated, this, [this] { guarded([this] { cbCatalogChange(); }); });
    return pnlCatalog;
}

QFrame *TfrmExtEdition::createMaskPanel(QWidget *parent)
{
    pnlMask = panel(parent, u"pnlMask"_s);
    Label2 = label(pnlMask, u"Label2"_s, u"文件扩展名："_s, {16, 9});
    lbCatalog = new QListWidget(pnlMask);
    lbCatalog->setObjectName(u"lbCatalog"_s);
    lbCatalog->setSelectionMode(QAbstractItemView::SingleSelection);
    lbCatalog->setGeometry(kListLeft, kMaskListTop, kListWidth, 100);
    lbCatalog->installEventFilter(this);
    pnlMask->installEventFilter(this);
    return pnlMask;
}

QFrame *TfrmExtEdition::createMaskButtons()
{
    pnlMaskButtons = panel(this, u"pnlMaskButtons"_s);
    const std::pair<const char *, QAction *> buttons[] = {
        {"btnDAdd", actDAdd}, {"btnDEdit", actDEdit}, {"btnDErase", actDErase}};
    for (int i = 0; i < 3; ++i) {
        auto *button = new ActionButton(buttons[i].second, pnlMaskButtons);
        button->setObjectName(QLatin1StringView(buttons[i].first));
        button->setAutoDefault(false);
        button->setGeometry(kButtonLeft, kButtonTops[i], kButtonWidth, kButtonHeight);
    }
    return pnlMaskButtons;
}

// The left column holds the category chooser above the mask list; the mask buttons
// stand right of it.
void TfrmExtEdition::createPanels()
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(mmExt);

    pnlLeft = panel(this, u"pnlLeft"_s);
    pnlLeft->setFixedWidth(kLeftWidth);
    auto *column = new QVBoxLayout(pnlLeft);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(createCategoryPanel(pnlLeft));
    column->addWidget(createMaskPanel(pnlLeft), 1);
    layout->addWidget(pnlLeft);
    layout->addWidget(createMaskButtons(), 1);
    createImportPanels(column, layout);
}

void TfrmExtEdition::SetMode(int m)
{
    Mode = m;
    if (m == 1)
        SetEditorMode();
    else if (m == 2 || m == 3)
        SetImportMode(m);
}

void TfrmExtEdition::SetEditorMode()
{
    setWindowTitle(u"扩展名编辑"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    pnlMask->show();
    pnlMaskButtons->show();
    for (QWidget *importSide : {pnlName, pnlDrives, pnlFolder, pnlOk, pnlList})
        importSide->hide();
    setFixedSize(kLeftWidth + kListLeft + kButtonLeft + kButtonWidth, kEditorHeight);
    centreOnScreen();
}

void TfrmExtEdition::centreOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmExtEdition::showEvent(QShowEvent *event)
{
    TfrmRoot<QDialog>::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TfrmExtEdition::FormShow()
{
    Accepted = true;
    fillCatalog();
    cbCatalog->setCurrentIndex(cbCatalog->count() > 0 ? 0 : -1);
    cbCatalogChange();
}

void TfrmExtEdition::resizeEvent(QResizeEvent *event)
{
    TfrmRoot<QDialog>::resizeEvent(event);
    FormResize();
}

// The mask list reaches to 8 pixels above the bottom of its panel.
void TfrmExtEdition::FormResize()
{
    if (Mode == 2)
        fitDriveBar();
    if (Mode == 1)
        lbCatalog->setGeometry(kListLeft, kMaskListTop, kListWidth,
                               qMax(0, pnlMask->height() - kMaskListTop - kMaskListMargin));
}

bool TfrmExtEdition::FormCloseQuery() const
{
    return (Mode != 2 && Mode != 3) || Accepted;
}

void TfrmExtEdition::closeEvent(QCloseEvent *event)
{
    // Closing the window while a scan runs stops the scan, as "取消" does.
    Scanning = false;
    if (FormCloseQuery())
        TfrmRoot<QDialog>::closeEvent(event);
    else
        event->ignore();
}

bool TfrmExtEdition::eventFilter(QObject *watched, QEvent *event)
{
    // The panels are placed by their layouts, which may happen after the window's own
    // resize; the list follows its panel.
    if ((watched == pnlMask || watched == pnlDrives) && event->type() == QEvent::Resize)
        FormResize();
    if (watched == lbCatalog && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // Moving between windows or opening a menu neither enters nor leaves the list.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded([this, event] { event->type() == QEvent::FocusIn ? lbCatalogEnter() : lbCatalogExit(); });
    }
    return TfrmRoot<QDialog>::eventFilter(watched, event);
}
