#include "ExtEdition.h"

#include "categories/CategoryChooser.h"
#include "ui/ActionButton.h"
#include "ui/ActionGuard.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
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

} // namespace

TfrmExtEdition::TfrmExtEdition(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, QWidget *parent)
    : TfrmRoot<QDialog>(parent)
    , m_dm(dm)
    , m_commFunction(commFunction)
    , m_prompts(prompts)
{
    setObjectName(u"frmExtEdition"_s);
    createImportActions();
    createPanels();
    retranslateUi();
}

TfrmExtEdition::~TfrmExtEdition() = default;

// Sets every text of the dialog's own in the interface's language, for the mode it is in.
void TfrmExtEdition::retranslateUi()
{
    if (Mode == 1)
        setWindowTitle(tr("扩展名编辑"));
    else if (Mode == 2 || Mode == 3)
        setWindowTitle(Mode == 2 ? tr("光盘导入") : tr("磁盘导入"));
    m_menu->setTitle(tr("菜单(&c)"));
    chooser->retranslateUi();
    retranslateImport();
}

void TfrmExtEdition::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    TfrmRoot<QDialog>::changeEvent(event);
}

void TfrmExtEdition::guarded(const std::function<void()> &handler)
{
    ActionGuard::run(m_prompts, handler);
}

// The form names the chooser's widgets and actions as its own.
void TfrmExtEdition::takeChooserNames()
{
    pnlCatalog = chooser->pnlCatalog;
    Label1 = chooser->Label1;
    cbCatalog = chooser->cbCatalog;
    pnlMask = chooser->pnlMask;
    Label2 = chooser->Label2;
    lbCatalog = chooser->lbCatalog;
    actAdd = chooser->actAdd;
    actEdit = chooser->actEdit;
    actDel = chooser->actDel;
    actDAdd = chooser->actDAdd;
    actDEdit = chooser->actDEdit;
    actDErase = chooser->actDErase;
}

void TfrmExtEdition::createMenu()
{
    mmExt = new QMenuBar(this);
    mmExt->setObjectName(u"mmExt"_s);
    m_menu = mmExt->addMenu(QString());
    m_menu->addActions({actAdd, actEdit, actDel});
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

    pnlLeft = panel(this, u"pnlLeft"_s);
    pnlLeft->setFixedWidth(kLeftWidth);
    auto *column = new QVBoxLayout(pnlLeft);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    chooser = new TCategoryChooser(m_dm, m_commFunction, m_prompts, pnlLeft, pnlLeft);
    takeChooserNames();
    pnlMask->installEventFilter(this);
    createMenu();
    layout->setMenuBar(mmExt);
    column->addWidget(pnlCatalog);
    column->addWidget(pnlMask, 1);
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
    retranslateUi();
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
    chooser->Fill();
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
        chooser->FitMaskList();
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
    return TfrmRoot<QDialog>::eventFilter(watched, event);
}
