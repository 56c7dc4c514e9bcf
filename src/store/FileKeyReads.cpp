#include "FileKeyReads.h"

#include "DbError.h"
#include "SqlFunctions.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <optional>

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

// A statement sent to SQLite itself: a million rows read without a QVariant for each value.
class FileKeyReads::NativeStatement {
public:
    NativeStatement(const QString &connectionName, const QString &text)
        : m_db(nativeSqliteHandle(QSqlDatabase::database(connectionName, false)))
    {
        if (!m_db)
            throw DbError(QCoreApplication::translate("FileKeyReads", "光盘索引库没有打开"));
        const QByteArray utf8 = text.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_statement, nullptr) != SQLITE_OK)
            fail();
    }
    ~NativeStatement() { sqlite3_finalize(m_statement); }
    NativeStatement(const NativeStatement &) = delete;
    NativeStatement &operator=(const NativeStatement &) = delete;

    void bind(int at, qint64 value) { check(sqlite3_bind_int64(m_statement, at, value)); }
    void bind(int at, const QVariant &value)
    {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
            bind(at, value.toLongLong());
            break;
        case QMetaType::UnknownType:
            check(sqlite3_bind_null(m_statement, at));
            break;
        default: {
            const QString text = value.toString();
            check(sqlite3_bind_text16(m_statement, at, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT));
        }
        }
    }
    // True while there is a row; a failure throws with the engine's message.
    bool step()
    {
        const int result = sqlite3_step(m_statement);
        if (result == SQLITE_ROW)
            return true;
        if (result != SQLITE_DONE)
            fail();
        return false;
    }
    void reset() { sqlite3_reset(m_statement); }
    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    QString text(int column) const
    {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(utf8, sqlite3_column_bytes(m_statement, column));
    }

private:
    void check(int result)
    {
        if (result != SQLITE_OK)
            fail();
    }
    [[noreturn]] void fail()
    {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(m_statement);
        throw DbError(message);
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
};

std::vector<qint64> FileKeyReads::ofDisc(qint64 disc, const Going &going) const
{
    return ofStatement(u"select rowid from CdRomListDt where DiskCode = ? order by rowid"_s, {disc}, going);
}

std::vector<qint64> FileKeyReads::ofStatement(const QString &text, const QVariantList &values,
                                              const Going &going) const
{
    NativeStatement query(m_connectionName, text);
    for (int i = 0; i < values.size(); ++i)
        query.bind(i + 1, values.at(i));
    std::vector<qint64> keys;
    while (query.step()) {
        keys.push_back(query.integer(0));
        if (going && qsizetype(keys.size()) % kProgressStep == 0 && !going(qsizetype(keys.size())))
            return keys;
    }
    // A list holds its keys and nothing else: no room to grow.
    keys.shrink_to_fit();
    return keys;
}

void FileKeyReads::forEachRow(std::span<const qint64> keys, const QString &columns,
                              const std::function<void(size_t, const NativeStatement &)> &read) const
{
    std::vector<KeyAt> sorted(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        sorted[i] = {keys[i], i};
    std::sort(sorted.begin(), sorted.end());
    const QString select = u"select rowid, "_s + columns + u" from CdRomListDt where rowid "_s;
    NativeStatement range(m_connectionName, select + u"between ? and ?"_s);
    std::optional<NativeStatement> list;
    size_t listLength = 0;
    for (size_t first = 0; first < sorted.size();) {
        // A run whose keys fill at least half of its range is read as the range.
        size_t end = first + 1;
        while (end < sorted.size() && sorted[end].key - sorted[first].key < kRangeBatch &&
               sorted[end].key - sorted[first].key < qint64(2 * (end - first + 1)))
            ++end;
        NativeStatement *query = &range;
        if (end - first >= kListBatch / 4 || end == sorted.size()) {
            range.bind(1, sorted[first].key);
            range.bind(2, sorted[end - 1].key);
        } else {
            end = std::min(sorted.size(), first + kListBatch);
            if (end - first != listLength) {
                listLength = end - first;
                list.emplace(m_connectionName, select + u"in ("_s + keyList(listLength) + u')');
            }
            for (size_t i = first; i < end; ++i)
                list->bind(int(i - first) + 1, sorted[i].key);
            query = &*list;
        }
        // The rows come in rowid order: the position of each key follows along.
        auto next = sorted.begin() + qsizetype(first);
        const auto batchEnd = sorted.begin() + qsizetype(end);
        while (query->step()) {
            const qint64 key = query->integer(0);
            while (next != batchEnd && next->key < key)
                ++next;
            if (next == batchEnd)
                next = std::lower_bound(sorted.begin() + qsizetype(first), batchEnd, KeyAt{key, 0});
            if (next != batchEnd && next->key == key)
                read(next->at, *query);
        }
        query->reset();
        first = end;
    }
}

void FileKeyReads::records(std::span<const qint64> keys,
                           const std::function<void(size_t, const FileRecord &)> &take) const
{
    forEachRow(keys, u"DiskCode, FileName, FileSize, FileData, FilePath"_s, [&](size_t at, const NativeStatement &row) {
        take(at, {row.integer(1), row.text(2), row.text(3), row.text(4), row.text(5)});
    });
}

std::vector<QString> FileKeyReads::texts(std::span<const qint64> keys, FileField field) const
{
    std::vector<QString> values(keys.size());
    forEachRow(keys, fieldColumn(field), [&](size_t at, const NativeStatement &row) { values[at] = row.text(1); });
    return values;
}

std::vector<qint64> FileKeyReads::discs(std::span<const qint64> keys) const
{
    std::vector<qint64> values(keys.size());
    forEachRow(keys, u"DiskCode"_s, [&](size_t at, const NativeStatement &row) { values[at] = row.integer(1); });
    return values;
}
