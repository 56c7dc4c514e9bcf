#include "FileRowModel.h"

#include "Catalogue.h"
#include "DbError.h"

#include <QCoreApplication>

#include <optional>

FileRowModel::FileRowModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    for (int i = 0; i < FileRow::ColumnCount; ++i)
        m_captions.append(QString());
}

int FileRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(holdsKeys() ? m_keys.size() : m_rows.size());
}

int FileRowModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FileRow::ColumnCount;
}

QVariant FileRowModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (!holdsKeys())
        return m_rows[size_t(index.row())].cell(index.column());
    const FileRow *row = cachedRow(index.row());
    return row ? row->cell(index.column()) : QString();
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
    if (m_rows.empty() && !holdsKeys())
        return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_catalogue = nullptr;
    m_discNames.clear();
    m_keys = {};
    forgetCache();
    endResetModel();
}

void FileRowModel::showKeys(Catalogue &catalogue, QHash<qint32, QString> discNames, std::vector<qint64> keys)
{
    beginResetModel();
    m_rows = {};
    m_catalogue = &catalogue;
    m_discNames = std::move(discNames);
    m_keys = std::move(keys);
    forgetCache();
    endResetModel();
}

void FileRowModel::forgetCache()
{
    m_blocks.clear();
    m_failureSaid = false;
}

QString FileRowModel::removedText()
{
    return QCoreApplication::translate("FileRowModel", "（此记录已删除）");
}

FileRow FileRowModel::rowOf(const FileRecord &file) const
{
    return FileRow::listed(m_discNames.value(qint32(file.disc)), file);
}

// The rows of count keys from first; a key whose record is gone gets the removed row.
std::vector<FileRow> FileRowModel::readRows(size_t first, size_t count) const
{
    std::vector<std::optional<FileRow>> read(count);
    m_catalogue->readFiles(std::span(m_keys).subspan(first, count),
                           [&](size_t i, const FileRecord &file) { read[i] = rowOf(file); });
    std::vector<FileRow> rows;
    rows.reserve(count);
    for (std::optional<FileRow> &row : read)
        rows.push_back(row ? std::move(*row) : FileRow{QString(), {removedText(), {}, {}, {}}});
    return rows;
}

const FileRow *FileRowModel::cachedRow(int index) const
{
    const int block = index / kBlockRows;
    auto found = m_blocks.find(block);
    if (found == m_blocks.end()) {
        const size_t first = size_t(block) * kBlockRows;
        std::vector<FileRow> rows;
        try {
            rows = readRows(first, std::min(size_t(kBlockRows), m_keys.size() - first));
        } catch (const DbError &error) {
            if (!m_failureSaid) {
                m_failureSaid = true;
                emit readFailed(error.message());
            }
            return nullptr;
        }
        if (m_blocks.size() >= kCachedBlocks) {
            auto oldest = m_blocks.begin();
            for (auto it = m_blocks.begin(); it != m_blocks.end(); ++it)
                if (it->used < oldest->used)
                    oldest = it;
            m_blocks.erase(oldest);
        }
        found = m_blocks.insert(block, Block{std::move(rows), 0});
    }
    found->used = ++m_uses;
    return &found->rows[size_t(index % kBlockRows)];
}

FileRow FileRowModel::row(int index) const
{
    if (!holdsKeys())
        return m_rows[size_t(index)];
    const FileRow *row = cachedRow(index);
    return row ? *row : FileRow{};
}

void FileRowModel::forEachRow(const std::function<bool(const FileRow &)> &take) const
{
    if (!holdsKeys()) {
        for (const FileRow &row : m_rows)
            if (!take(row))
                return;
        return;
    }
    constexpr size_t kBatch = 4096;
    for (size_t first = 0; first < m_keys.size(); first += kBatch)
        for (const FileRow &row : readRows(first, std::min(kBatch, m_keys.size() - first)))
            if (!take(row))
                return;
}

std::vector<FileRow> FileRowModel::allRows() const
{
    std::vector<FileRow> rows;
    forEachRow([&](const FileRow &row) {
        rows.push_back(row);
        return true;
    });
    return rows;
}

std::vector<QString> FileRowModel::columnTexts(int column) const
{
    std::vector<QString> texts;
    if (!holdsKeys()) {
        texts.reserve(m_rows.size());
        for (const FileRow &row : m_rows)
            texts.push_back(row.cell(column));
        return texts;
    }
    if (column != FileRow::ListDisc)
        return m_catalogue->fileTexts(m_keys, FileField(column - FileRow::ListName));
    const std::vector<qint64> discs = m_catalogue->fileDiscs(m_keys);
    texts.reserve(discs.size());
    for (const qint64 disc : discs)
        texts.push_back(m_discNames.value(qint32(disc)));
    return texts;
}

namespace {

template <class T>
void permute(std::vector<T> &items, const std::vector<int> &order, std::vector<int> &newRowOf)
{
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(items[size_t(order[i])]));
        newRowOf[size_t(order[i])] = int(i);
    }
    items = std::move(sorted);
}

} // namespace

void FileRowModel::reorder(const std::vector<int> &order)
{
    Q_ASSERT(int(order.size()) == rowCount());
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    if (holdsKeys()) {
        permute(m_keys, order, newRowOf);
        m_blocks.clear();
    } else {
        permute(m_rows, order, newRowOf);
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &idx : before)
        after.append(index(newRowOf[size_t(idx.row())], idx.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
