#include "FolderTreeModel.h"

#include "drives/platform/Platform.h"
#include "language/Language.h"

#include <QCollator>

using namespace Qt::StringLiterals;

struct FolderTreeModel::Node {
    QString name;
    QString relativePath;
    Node *parent = nullptr;
    int row = 0;
    bool fetched = false;
    std::vector<std::unique_ptr<Node>> children;
};

FolderTreeModel::FolderTreeModel(QObject *parent) : QAbstractItemModel(parent) {}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::setDrive(char letter)
{
    beginResetModel();
    m_letter = Platform::driveLetter(letter);
    m_root.reset();
    if (m_letter) {
        m_root = std::make_unique<Node>();
        m_root->name = QString(QChar(char16_t(m_letter))) + u":\\"_s;
    }
    endResetModel();
}

FolderTreeModel::Node *FolderTreeModel::node(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : nullptr;
}

QString FolderTreeModel::relativePath(const QModelIndex &index) const
{
    const Node *n = node(index);
    return n ? n->relativePath : QString();
}

QString FolderTreeModel::letterPath(const QModelIndex &index) const
{
    if (!m_root)
        return {};
    QString path = relativePath(index);
    path.replace(u'/', u'\\');
    return m_root->name + path;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 && m_root ? createIndex(0, 0, m_root.get()) : QModelIndex();
    const Node *p = node(parent);
    if (size_t(row) >= p->children.size())
        return {};
    return createIndex(row, 0, p->children[size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    const Node *n = node(child);
    if (!n || !n->parent)
        return {};
    return createIndex(n->parent->row, 0, n->parent);
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_root ? 1 : 0;
    return int(node(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    const Node *n = node(index);
    if (!n || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return role == Qt::ToolTipRole ? letterPath(index) : n->name;
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return bool(m_root);
    const Node *n = node(parent);
    return !n->fetched || !n->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    const Node *n = node(parent);
    return n && !n->fetched;
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    Node *n = node(parent);
    if (!n || n->fetched)
        return;
    n->fetched = true;
    const auto entries = Platform::instance().listDirectory(m_letter, n->relativePath);
    QStringList names;
    for (const DirEntry &entry : entries.value_or(QList<DirEntry>()))
        if (entry.isDir && !entry.hidden)
            names.append(entry.name);
    const QCollator &collator = InterfaceLanguage::textCollator();
    std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) { return collator(a, b); });
    if (names.isEmpty()) {
        // The branch turns out to be a leaf: let the view drop its expander.
        emit dataChanged(parent, parent);
        return;
    }
    beginInsertRows(parent, 0, int(names.size()) - 1);
    for (const QString &name : std::as_const(names)) {
        auto child = std::make_unique<Node>();
        child->name = name;
        child->relativePath = n->relativePath.isEmpty() ? name : n->relativePath + u'/' + name;
        child->parent = n;
        child->row = int(n->children.size());
        n->children.push_back(std::move(child));
    }
    endInsertRows();
}
