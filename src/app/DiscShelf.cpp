#include "DiscShelf.h"

#include "DiscBrowser.h"
#include "DiscPropertiesDialog.h"
#include "DueDiscsDialog.h"
#include "LentDiscsDialog.h"
#include "store/DiscLending.h"
#include "ui/ActionStates.h"

#include <QAction>
#include <QSet>
#include <QLineEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

DiscShelf::DiscShelf(const QString &connectionName, Prompts &prompts, ActionStates &states, QTreeWidget &tree,
                     QLineEdit &filterLine, QAction &actProperties)
    : QObject(&tree)
    , m_connectionName(connectionName)
    , m_prompts(prompts)
    , m_states(states)
    , m_tree(tree)
    , m_filterLine(filterLine)
    , m_actProperties(actProperties)
{
    m_filterLine.setClearButtonEnabled(true);
    connect(&m_filterLine, &QLineEdit::textChanged, this, &DiscShelf::applyFilter);
}

bool DiscShelf::readOnly() const
{
    return m_states.readOnly().readOnly();
}

QTreeWidgetItem *DiscShelf::nodeOf(qint32 code) const
{
    QTreeWidgetItem *root = m_tree.topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i)
        if (const std::optional<TDiscNode> disc = DiscBrowser::discOf(root->child(i)); disc && disc->DiskCode == code)
            return root->child(i);
    return nullptr;
}

void DiscShelf::decorate(QTreeWidgetItem *node, const DiscOverview &disc)
{
    const auto found = m_verified.constFind(disc.code);
    const std::optional<Verification> latest = found == m_verified.cend() ? std::nullopt : std::optional(*found);
    node->setToolTip(0, DiscNodeLook::toolTip(disc, latest));
    node->setIcon(0, DiscNodeLook::cachedIcon(
                         {!disc.borrower.isEmpty(), latest ? std::optional(latest->state()) : std::nullopt}));
}

void DiscShelf::refresh()
{
    const QList<DiscOverview> discs = DiscDetailsStore::overviews(m_connectionName);
    m_verified = DiscVerificationStore::latest(m_connectionName);
    m_filter.setDiscs(discs);
    QHash<qint32, const DiscOverview *> byCode;
    for (const DiscOverview &disc : discs)
        byCode.insert(disc.code, &disc);
    QTreeWidgetItem *root = m_tree.topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i)
        if (const std::optional<TDiscNode> node = DiscBrowser::discOf(root->child(i)))
            if (const DiscOverview *disc = byCode.value(node->DiskCode))
                decorate(root->child(i), *disc);
    applyFilter(m_filterLine.text());
    currentChanged();
}

void DiscShelf::applyFilter(const QString &text)
{
    QTreeWidgetItem *root = m_tree.topLevelItem(0);
    if (!root)
        return;
    const bool all = DiscFilter::needle(text).isEmpty();
    QSet<qint32> shown;
    if (!all) {
        const QList<qint32> codes = m_filter.matching(text);
        shown = QSet<qint32>(codes.cbegin(), codes.cend());
    }
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem *node = root->child(i);
        const bool hide = !all && !shown.contains(node->data(0, Qt::UserRole).value<TDiscNode>().DiskCode);
        if (node->isHidden() != hide)
            node->setHidden(hide);
    }
    if (QTreeWidgetItem *current = m_tree.currentItem(); current && !current->isHidden())
        m_tree.scrollToItem(current);
}

void DiscShelf::currentChanged()
{
    m_states.setAllowed(&m_actProperties, DiscBrowser::discOf(m_tree.currentItem()).has_value());
}

// After 属性 wrote: the node's name, place among the others, tooltip and mark.
void DiscShelf::updateDisc(QTreeWidgetItem *node, qint32 code)
{
    const std::optional<DiscOverview> disc = DiscDetailsStore::overview(m_connectionName, code);
    if (!disc)
        return;
    TDiscNode data = *DiscBrowser::discOf(node);
    const bool renamed = data.DiskName != disc->name;
    data.DiskName = disc->name;
    node->setData(0, Qt::UserRole, QVariant::fromValue(data));
    node->setText(0, disc->name);
    decorate(node, *disc);
    m_filter.update(*disc);
    if (renamed) {
        node->parent()->sortChildren(0, Qt::AscendingOrder);
        m_tree.scrollToItem(node);
        emit discRenamed();
    }
    applyFilter(m_filterLine.text());
}

void DiscShelf::showProperties(QTreeWidgetItem *item)
{
    QTreeWidgetItem *node = item ? item : m_tree.currentItem();
    const std::optional<TDiscNode> disc = DiscBrowser::discOf(node);
    if (!disc)
        return;
    TfrmDiscProperties dialog(m_connectionName, disc->DiskCode, m_prompts, readOnly(), m_tree.window());
    if (dialog.exec() == QDialog::Accepted && dialog.changed())
        updateDisc(node, disc->DiskCode);
}

void DiscShelf::showLentDiscs(QWidget *parent)
{
    TfrmLentDiscs dialog(DiscLendingStore::lentDiscs(m_connectionName), parent);
    connect(&dialog, &TfrmLentDiscs::discChosen, this, &DiscShelf::selectDisc);
    dialog.exec();
}

void DiscShelf::showDueDiscs(QWidget *parent)
{
    TfrmDueDiscs dialog(m_connectionName, parent);
    connect(&dialog, &TfrmDueDiscs::discChosen, this, &DiscShelf::selectDisc);
    dialog.exec();
}

void DiscShelf::selectDisc(qint32 code)
{
    if (QTreeWidgetItem *node = nodeOf(code)) {
        m_filterLine.clear();
        m_tree.setCurrentItem(node);
        m_tree.scrollToItem(node);
    }
}
