#include "FileRowModel.h"

FileRowModel::FileRowModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    for (int i = 0; i < FileRow::ColumnCount; ++i)
        m_captions.append(QString());
}

int FileRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FileRowModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FileRow::ColumnCount;
}

QVariant FileRowModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_rows[size_t(index.row())].cell(index.column());
    return {};
}

QVariant FileRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= FileRow::ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_captions.at(section);
    return {};
}

bool FileRowModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= FileRow::ColumnCount ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_captions[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

void FileRowModel::setHeaderCaptions(const QStringList &captions)
{
    for (int i = 0; i < FileRow::ColumnCount; ++i)
        m_captions[i] = captions.value(i);
    emit headerDataChanged(Qt::Horizontal, 0, FileRow::ColumnCount - 1);
}

QString FileRowModel::headerCaption(int column) const
{
    return m_captions.value(column);
}

QString FileRowModel::plainCaption(int column) const
{
    return headerCaption(column).remove(kAscendingMark).remove(kDescendingMark);
}

void FileRowModel::clearSortMarks(int keep)
{
    for (int column = 0; column < FileRow::ColumnCount; ++column) {
        if (column == keep)
            continue;
        const QString plain = plainCaption(column);
        if (plain != m_captions.at(column))
            setHeaderData(column, Qt::Horizontal, plain);
    }
}

void FileRowModel::appendRow(FileRow row)
{
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void FileRowModel::appendRows(std::vector<FileRow> rows)
{
    if (rows.empty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

void FileRowModel::clear()
{
    m_title.clear();
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

void FileRowModel::reorder(const std::vector<int> &order)
{
    Q_ASSERT(order.size() == m_rows.size());
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<FileRow> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRowOf(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(m_rows[size_t(order[i])]));
        newRowOf[size_t(order[i])] = int(i);
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &idx : before)
        after.append(index(newRowOf[size_t(idx.row())], idx.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
