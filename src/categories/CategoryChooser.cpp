#include "CategoryChooser.h"

#include "ui/ActionGuard.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>

using namespace Qt::StringLiterals;

namespace {

// The chooser's measures in pixels, as the dialog was drawn.
constexpr int kListLeft = 16;
constexpr int kListWidth = 203;
constexpr int kChooserTop = 26;
constexpr int kMaskListTop = 28;
constexpr int kMaskListMargin = 8;

QFrame *panel(QWidget *parent, const QString &name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    return frame;
}

QLabel *label(QWidget *parent, const QString &name, QPoint at)
{
    auto *created = new QLabel(parent);
    created->setObjectName(name);
    created->move(at);
    return created;
}

} // namespace

TCategoryChooser::TCategoryChooser(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, QWidget *categoryParent,
                                   QWidget *maskParent)
    : QObject(categoryParent)
    , m_dm(dm)
    , m_commFunction(commFunction)
    , m_prompts(prompts)
{
    setObjectName(u"categoryChooser"_s);
    createActions();
    createCategoryPanel(categoryParent);
    createMaskPanel(maskParent);
    retranslateUi();
}

void TCategoryChooser::guarded(const std::function<void()> &handler)
{
    ActionGuard::run(m_prompts, handler);
}

QAction *TCategoryChooser::makeAction(const char *name, void (TCategoryChooser::*handler)())
{
    auto *action = new QAction(this);
    action->setObjectName(QLatin1StringView(name));
    connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    return action;
}

void TCategoryChooser::createActions()
{
    actAdd = makeAction("actAdd", &TCategoryChooser::actAddExecute);
    actEdit = makeAction("actEdit", &TCategoryChooser::actEditExecute);
    actDel = makeAction("actDel", &TCategoryChooser::actDelExecute);
    actDAdd = makeAction("actDAdd", &TCategoryChooser::actDAddExecute);
    actDEdit = makeAction("actDEdit", &TCategoryChooser::actDEditExecute);
    actDErase = makeAction("actDErase", &TCategoryChooser::actDEraseExecute);
    setMaskActions(false);
}

void TCategoryChooser::retranslateUi()
{
    actAdd->setText(tr("添加名称(&A)"));
    actEdit->setText(tr("修改名称(&E)"));
    actDel->setText(tr("删除名称(&D)"));
    actDAdd->setText(tr("增加"));
    actDEdit->setText(tr("修改"));
    actDErase->setText(tr("删除"));
    for (auto [label, text] : {std::pair{Label1, tr("扩展名称：")}, std::pair{Label2, tr("文件扩展名：")}}) {
        label->setText(text);
        label->adjustSize();
    }
}

QFrame *TCategoryChooser::createCategoryPanel(QWidget *parent)
{
    pnlCatalog = panel(parent, u"pnlCatalog"_s);
    Label1 = label(pnlCatalog, u"Label1"_s, {16, 7});
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

QFrame *TCategoryChooser::createMaskPanel(QWidget *parent)
{
    pnlMask = panel(parent, u"pnlMask"_s);
    Label2 = label(pnlMask, u"Label2"_s, {16, 9});
    lbCatalog = new QListWidget(pnlMask);
    lbCatalog->setObjectName(u"lbCatalog"_s);
    lbCatalog->setSelectionMode(QAbstractItemView::SingleSelection);
    lbCatalog->setGeometry(kListLeft, kMaskListTop, kListWidth, 100);
    lbCatalog->installEventFilter(this);
    return pnlMask;
}

void TCategoryChooser::Fill()
{
    fillCatalog();
    cbCatalog->setCurrentIndex(cbCatalog->count() > 0 ? 0 : -1);
    cbCatalogChange();
}

void TCategoryChooser::FitMaskList()
{
    lbCatalog->setGeometry(kListLeft, kMaskListTop, kListWidth,
                           qMax(0, pnlMask->height() - kMaskListTop - kMaskListMargin));
}

QStringList TCategoryChooser::maskTexts() const
{
    QStringList masks;
    for (int i = 0; i < lbCatalog->count(); ++i)
        masks.append(lbCatalog->item(i)->text());
    return masks;
}

bool TCategoryChooser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lbCatalog && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // Moving between windows or opening a menu neither enters nor leaves the list.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded([this, event] { event->type() == QEvent::FocusIn ? lbCatalogEnter() : lbCatalogExit(); });
    }
    return QObject::eventFilter(watched, event);
}
