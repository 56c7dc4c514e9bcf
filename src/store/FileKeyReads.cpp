#include "FileKeyReads.h"

#include "DbError.h"
#include "Statement.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Keys read by one list of values; SQLite takes up to 32766 bound values.
constexpr size_t kListBatch = 500;
// The longest range read as one statement.
constexpr qint64 kRangeBatch = 1 << 16;

struct KeyAt {
    qint64 key;
    size_t at;
    bool operator<(const KeyAt &other) const { return key < other.key; }
};

const QString &fieldColumn(FileField field)
{
    static const QString names[] = {u"FileName"_s, u"FileSize"_s, u"FileData"_s, u"FilePath"_s};
    return names[int(field)];
}

QString keyList(size_t n)
{
    QString marks;
    marks.reserve(qsizetype(n * 2));
    for (size_t i = 0; i < n; ++i)
        marks += i == 0 ? u"?"_s : u",?"_s;
    return marks;
}

} // namespace

std::vector<qint64> FileKeyReads::ofDisc(qint64 disc, const Going &going) const
{
    return ofStatement(u"select rowid from CdRomListDt where DiskCode = ? order by rowid"_s, {disc}, going);
}

std::vector<qint64> FileKeyReads::ofStatement(const QString &text, const QVariantList &values,
                                              const Going &going) const
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    runStatement(query, text, values);
    std::vector<qint64> keys;
    while (query.next()) {
        keys.push_back(query.value(0).toLongLong());
        if (going && qsizetype(keys.size()) % kProgressStep == 0 && !going(qsizetype(keys.size())))
            return keys;
    }
    if (query.lastError().isValid())
        throw DbError(engineMessage(query.lastError()));
    return keys;
}

void FileKeyReads::forEachRow(std::span<const qint64> keys, const QString &columns,
                              const std::function<void(size_t, const QSqlQuery &)> &read) const
{
    std::vector<KeyAt> sorted(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        sorted[i] = {keys[i], i};
    std::sort(sorted.begin(), sorted.end());
    const QString select = u"select rowid, "_s + columns + u" from CdRomListDt where rowid "_s;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery range(db), list(db);
    range.setForwardOnly(true);
    list.setForwardOnly(true);
    prepareStatement(range, select + u"between ? and ?"_s);
    size_t listLength = 0;
    for (size_t first = 0; first < sorted.size();) {
        // A run whose keys fill at least half of its range is read as the range.
        size_t end = first + 1;
        while (end < sorted.size() && sorted[end].key - sorted[first].key < kRangeBatch &&
               sorted[end].key - sorted[first].key < qint64(2 * (end - first + 1)))
            ++end;
        QSqlQuery *query = &range;
        QVariantList values;
        if (end - first >= kListBatch / 4 || end == sorted.size()) {
            values = {sorted[first].key, sorted[end - 1].key};
        } else {
            end = std::min(sorted.size(), first + kListBatch);
            if (end - first != listLength) {
                listLength = end - first;
                prepareStatement(list, select + u"in ("_s + keyList(listLength) + u')');
            }
            for (size_t i = first; i < end; ++i)
                values.append(sorted[i].key);
            query = &list;
        }
        bindAndRun(*query, values);
        const auto batchBegin = sorted.begin() + qsizetype(first), batchEnd = sorted.begin() + qsizetype(end);
        while (query->next()) {
            const auto hit = std::lower_bound(batchBegin, batchEnd, KeyAt{query->value(0).toLongLong(), 0});
            if (hit != batchEnd && hit->key == query->value(0).toLongLong())
                read(hit->at, *query);
        }
        if (query->lastError().isValid())
            throw DbError(engineMessage(query->lastError()));
        query->finish();
        first = end;
    }
}

void FileKeyReads::records(std::span<const qint64> keys,
                           const std::function<void(size_t, const FileRecord &)> &take) const
{
    forEachRow(keys, u"DiskCode, FileName, FileSize, FileData, FilePath"_s, [&](size_t at, const QSqlQuery &row) {
        take(at, {row.value(1).toLongLong(), row.value(2).toString(), row.value(3).toString(), row.value(4).toString(),
                  row.value(5).toString()});
    });
}

std::vector<QString> FileKeyReads::texts(std::span<const qint64> keys, FileField field) const
{
    std::vector<QString> values(keys.size());
    forEachRow(keys, fieldColumn(field), [&](size_t at, const QSqlQuery &row) { values[at] = row.value(1).toString(); });
    return values;
}

std::vector<qint64> FileKeyReads::discs(std::span<const qint64> keys) const
{
    std::vector<qint64> values(keys.size());
    forEachRow(keys, u"DiskCode"_s, [&](size_t at, const QSqlQuery &row) { values[at] = row.value(1).toLongLong(); });
    return values;
}
