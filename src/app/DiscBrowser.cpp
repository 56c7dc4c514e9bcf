#include "DiscBrowser.h"

#include "drives/ReplaceAll.h"
#include "language/Language.h"
#include "store/Catalogue.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommFunction.h"
#include "ui/ActionStates.h"
#include "ui/ApplicationTitle.h"
#include "ui/Icons.h"
#include "ui/KeyReadProgress.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QAction>
#include <QCollator>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kUp = QString(FileRowModel::kAscendingMark);
const QString kDown = QString(FileRowModel::kDescendingMark);
// How the columns of the file list sort: disc name, file name, size, time, path.
constexpr quint8 kColumnKinds[] = {TCustomSortableListView::Text, TCustomSortableListView::Text,
                                   TCustomSortableListView::Number, TCustomSortableListView::DateTime,
                                   TCustomSortableListView::Text};

// A disc node sorts among its siblings as the disc query orders the discs.
class DiscNodeItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        return InterfaceLanguage::textCollator().compare(text(0), other.text(0)) < 0;
    }
};

QIcon discIcon()
{
    QIcon icon = Icons::ilQl(0);
    for (const QSize &size : {QSize(16, 16), QSize(24, 24), QSize(32, 32)})
        icon.addPixmap(Icons::ilQl(1).pixmap(size), QIcon::Selected);
    return icon;
}

} // namespace

DiscBrowser::DiscBrowser(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, StatusProgress &progress,
                         ActionStates &states, QTreeWidget &tree, TSortableListView &list, QAction &actDel)
    : QObject(&tree)
    , m_dm(dm)
    , m_commFunction(commFunction)
    , m_prompts(prompts)
    , m_progress(progress)
    , m_states(states)
    , m_tree(tree)
    , m_list(list)
    , m_actDel(actDel)
{
    // A row read fails while the view paints: the message waits until the paint is over.
    connect(
        m_list.rows(), &FileRowModel::readFailed, this,
        [this](const QString &message) { m_prompts.critical(ApplicationTitle::get(), message); },
        Qt::QueuedConnection);
}

QTreeWidgetItem *DiscBrowser::rootNode() const
{
    return m_tree.topLevelItem(0);
}

std::optional<TDiscNode> DiscBrowser::discOf(const QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return std::nullopt;
    const QVariant data = item->data(0, Qt::UserRole);
    if (!data.canConvert<TDiscNode>())
        return std::nullopt;
    return data.value<TDiscNode>();
}

std::optional<TDiscNode> DiscBrowser::selectedDisc() const
{
    return discOf(m_tree.currentItem());
}

void DiscBrowser::ReopenDiscList()
{
    m_dm.aqryCdRomListMt->Close();
    m_dm.aqryCdRomListMt->Open();
}

void DiscBrowser::ReloadDiscTree()
{
    ReopenDiscList();
    QTreeWidgetItem *root = rootNode();
    for (int i = root->childCount() - 1; i >= 0; --i)
        delete root->takeChild(i);
    TQuery &discs = *m_dm.aqryCdRomListMt;
    discs.DisableControls();
    for (discs.First(); !discs.Eof(); discs.Next())
        AddDiscNode(discs, root);
    discs.EnableControls();
}

void DiscBrowser::AddDiscNode(TQuery &query, QTreeWidgetItem *parent)
{
    AddDiscNode(DiscRecord{query.FieldByName(u"DiskCode"_s).AsInteger(), query.FieldByName(u"DiskName"_s).AsString(),
                           query.FieldByName(u"DiskLabel"_s).AsString(), query.FieldByName(u"DiskSerial"_s).AsString()},
                parent);
}

void DiscBrowser::AddDiscNode(const DiscRecord &record, QTreeWidgetItem *parent)
{
    TDiscNode disc;
    disc.DiskCode = qint32(record.code);
    disc.DiskName = record.name;
    disc.DiskLabel = record.label;
    disc.DiskSerial = record.serial;
    static const QIcon icon = discIcon();
    auto *node = new DiscNodeItem(parent, {disc.DiskName});
    node->setIcon(0, icon);
    node->setData(0, Qt::UserRole, QVariant::fromValue(disc));
}

// The keys of the files of the disc on which the disc query stands.
std::vector<qint64> DiscBrowser::LoadDiscFiles(const FileKeyReads::Going &going)
{
    if (!m_dm.aqryCdRomListMt->Active())
        ReopenDiscList();
    const qint64 code = m_dm.aqryCdRomListMt->FieldByName(u"DiskCode"_s).AsInteger();
    return m_dm.catalogue().fileKeysOfDisc(code, going); // a failure throws with the engine's message
}

void DiscBrowser::tvCdIndexChange()
{
    m_list.rows()->clear();
    const std::optional<TDiscNode> disc = selectedDisc();
    m_states.setAllowed(&m_actDel, disc.has_value());
    ClearSortMarks(-1);
    m_progress.SetStatusText(QString());
    if (disc)
        loadSelectedDisc(*disc);
}

// Lists the files of the selected disc: their keys at once, their texts as they are shown.
// A read that takes long lets events run; the user may then select another node, whose
// nested run lists its own disc, and this run finds another node selected and stops.
void DiscBrowser::loadSelectedDisc(const TDiscNode &disc)
{
    ActionStates::BusyScope busy(m_states);
    TQuery &discs = *m_dm.aqryCdRomListMt;
    if (!discs.Active() || !discs.Locate(u"DiskCode"_s, disc.DiskCode)) {
        ReopenDiscList();
        if (!discs.Locate(u"DiskCode"_s, disc.DiskCode))
            throw DbError(tr("找不到光盘“%1”的记录").arg(disc.DiskName));
    }
    KeyReadProgress reading(m_progress, tr("已读入:%1条记录"));
    std::vector<qint64> keys = LoadDiscFiles(reading.going());
    const std::optional<TDiscNode> selected = selectedDisc();
    if (reading.stopped() || !selected || selected->DiskCode != disc.DiskCode) {
        // The root selected while events ran has an empty list without a status.
        if (!selected)
            m_progress.SetStatusText(QString());
        return;
    }
    FileRowModel &rows = *m_list.rows();
    const qsizetype count = qsizetype(keys.size());
    rows.showKeys(m_dm.catalogue(), {{disc.DiskCode, disc.DiskName}}, std::move(keys));
    rows.setTitle(disc.DiskName);
    // The pages the key read went through are of no more use to the list.
    m_dm.aConQl.releaseMemory();
    m_progress.SetProgressRange(0, 0);
    m_progress.SetStatusText(tr("共读入:%1条记录").arg(count));
}

void DiscBrowser::pmCdIndexPopup()
{
    m_states.setAllowed(&m_actDel, selectedDisc().has_value());
}

void DiscBrowser::actDelExecute()
{
    QTreeWidgetItem *node = m_tree.currentItem();
    const std::optional<TDiscNode> disc = discOf(node);
    if (!disc)
        return;
    TQuery &discs = *m_dm.aqryCdRomListMt;
    if (!discs.Active())
        ReopenDiscList();
    if (!discs.Locate(u"DiskCode"_s, disc->DiskCode))
        throw DbError(tr("找不到光盘“%1”的记录").arg(disc->DiskName));
    if (!m_prompts.confirm(tr("提示窗口"), tr("确实要把%1删除吗?").arg(node->text(0)), Prompts::Icon::Information))
        return;
    if (!discs.Delete())
        return;
    delete node;
    emit discDeleted();
}

void DiscBrowser::lvDetailColumnClick(int column)
{
    if (column < 0 || column >= int(std::size(kColumnKinds)))
        return;
    m_list.SortBy(column, kColumnKinds[column]);
    ClearSortMarks(column);
    FileRowModel *model = m_list.rows();
    QString caption = model->headerCaption(column);
    const bool wasUp = caption.contains(kUp);
    caption += wasUp ? kDown : kUp;
    ReplaceAll(caption, wasUp ? kUp : kDown, QString());
    model->setHeaderData(column, Qt::Horizontal, caption);
}

void DiscBrowser::ClearSortMarks(int keep)
{
    m_list.rows()->clearSortMarks(keep);
}

void DiscBrowser::setColumnCaptions(const QStringList &captions)
{
    FileRowModel *model = m_list.rows();
    for (int column = 0; column < captions.size() && column < model->columnCount(); ++column) {
        const QString old = model->headerCaption(column);
        const QString mark = old.endsWith(kUp) ? kUp : old.endsWith(kDown) ? kDown : QString();
        model->setHeaderData(column, Qt::Horizontal, captions.at(column) + mark);
    }
}

QHash<qint32, QString> DiscBrowser::discNames() const
{
    QHash<qint32, QString> names;
    const QTreeWidgetItem *root = rootNode();
    for (int i = 0; i < root->childCount(); ++i) {
        const std::optional<TDiscNode> disc = discOf(root->child(i));
        if (disc && !names.contains(disc->DiskCode))
            names.insert(disc->DiskCode, disc->DiskName);
    }
    return names;
}

void DiscBrowser::AddStoredDisc(qint64 discCode)
{
    if (const std::optional<DiscRecord> disc = m_dm.catalogue().disc(discCode))
        AddDiscNode(*disc, rootNode());
    sortDiscNodes();
    ReopenDiscList();
}

// The disc nodes in the order a rebuild of the tree gives them: by name in the user's
// locale, letter case ignored. The items move inside the model, so the current node and
// its file list stay as they are.
void DiscBrowser::sortDiscNodes()
{
    rootNode()->sortChildren(0, Qt::AscendingOrder);
}

void DiscBrowser::SelectDisc(const QString &discName)
{
    QTreeWidgetItem *root = rootNode();
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == discName) {
            m_tree.setCurrentItem(root->child(i));
            m_tree.scrollToItem(root->child(i));
            return;
        }
    }
}
