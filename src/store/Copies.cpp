#include "Copies.h"

#include "Statement.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <numeric>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Copies have equal sizes under either rule, so every group lies among the files of one
// size: the records are walked in the order of their sizes and the groups of each size are
// made in memory.
struct Record {
    qint64 id = 0;
    qint64 disc = 0;
    QString name;
    QString time;
    QString path;
    QByteArray digest;
};

const QString kWalk = u"SELECT d.FileSize, d.FileName, d.FileData, d.DiskCode, c.Sha256, d.rowid%1\n"
                      "FROM CdRomListDt d LEFT JOIN FileChecksum c ON c.FileRow = d.rowid%2\n"
                      "ORDER BY d.FileSize"_s;
// Only the sizes that one disc holds: no other file can be a copy of its files.
const QString kSizesOfDisc =
    u"\nWHERE d.FileSize IN (SELECT FileSize FROM CdRomListDt WHERE DiskCode = ?)"_s;

class UnionFind {
public:
    explicit UnionFind(size_t n) : m_parent(n) { std::iota(m_parent.begin(), m_parent.end(), size_t(0)); }
    size_t find(size_t i)
    {
        while (m_parent[i] != i)
            i = m_parent[i] = m_parent[m_parent[i]];
        return i;
    }
    void join(size_t a, size_t b) { m_parent[find(a)] = find(b); }

private:
    std::vector<size_t> m_parent;
};

// The groups of the files of one size: each record's group (its root) and whether that
// group holds files of more than one disc.
struct Groups {
    std::vector<size_t> of;
    std::vector<bool> severalDiscs; // by root

    bool several(size_t record) const { return severalDiscs[of[record]]; }
};

bool copies(const Record &a, const Record &b)
{
    if (!a.digest.isEmpty() && !b.digest.isEmpty())
        return a.digest == b.digest;
    return a.name == b.name && a.time == b.time;
}

// Few files of a size (the usual case): every pair compared.
void joinFew(const std::vector<Record> &records, UnionFind &sets)
{
    for (size_t i = 1; i < records.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (copies(records[i], records[j]))
                sets.join(i, j);
}

// Many: by checksum, and by name and time where one of those files has no checksum.
void joinMany(const std::vector<Record> &records, UnionFind &sets)
{
    QHash<QByteArray, size_t> byDigest;
    QHash<QString, std::vector<size_t>> byNameAndTime;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record &r = records[i];
        if (!r.digest.isEmpty()) {
            const auto found = byDigest.constFind(r.digest);
            if (found == byDigest.cend())
                byDigest.insert(r.digest, i);
            else
                sets.join(i, *found);
        }
        byNameAndTime[r.name + QChar(0) + r.time].push_back(i);
    }
    for (const std::vector<size_t> &same : std::as_const(byNameAndTime)) {
        const bool without =
            std::any_of(same.cbegin(), same.cend(), [&](size_t i) { return records[i].digest.isEmpty(); });
        for (size_t k = 1; without && k < same.size(); ++k)
            sets.join(same[k], same[0]);
    }
}

Groups group(const std::vector<Record> &records)
{
    const size_t n = records.size();
    UnionFind sets(n);
    if (n <= 32)
        joinFew(records, sets);
    else
        joinMany(records, sets);
    Groups groups;
    groups.of.resize(n);
    groups.severalDiscs.assign(n, false);
    std::vector<qint64> firstDisc(n, -1);
    for (size_t i = 0; i < n; ++i) {
        const size_t root = groups.of[i] = sets.find(i);
        if (firstDisc[root] < 0)
            firstDisc[root] = records[i].disc;
        else if (firstDisc[root] != records[i].disc)
            groups.severalDiscs[root] = true;
    }
    return groups;
}

// Walks the records size by size; each size's records and their groups go to work.
void walk(const QString &connectionName, std::optional<qint64> disc, bool withPaths,
          const std::function<void(const QString &size, const std::vector<Record> &, const Groups &)> &work,
          const Copies::Going &going)
{
    constexpr qsizetype kReportEvery = 4096;
    qsizetype read = 0;
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    query.setForwardOnly(true);
    runStatement(query, kWalk.arg(withPaths ? u", d.FilePath"_s : QString(), disc ? kSizesOfDisc : QString()),
                 disc ? QVariantList{*disc} : QVariantList{});
    std::vector<Record> records;
    QString size;
    const auto flush = [&] {
        if (!records.empty())
            work(size, records, group(records));
        records.clear();
    };
    while (query.next()) {
        if (going && ++read % kReportEvery == 0 && !going(read))
            return;
        const QString next = query.value(0).toString();
        if (next != size || records.empty()) {
            flush();
            size = next;
        }
        records.push_back(Record{query.value(5).toLongLong(), query.value(3).toLongLong(), query.value(1).toString(),
                                 query.value(2).toString(), withPaths ? query.value(6).toString() : QString(),
                                 query.value(4).toByteArray()});
    }
    flush();
    if (going)
        going(read);
}

QHash<qint64, QString> discNames(const QString &connectionName)
{
    QSqlQuery query = runStatement(connectionName, u"SELECT DiskCode, DiskName FROM CdRomListMt"_s);
    QHash<qint64, QString> names;
    while (query.next())
        names.insert(query.value(0).toLongLong(), query.value(1).toString());
    return names;
}

} // namespace

QStringList Copies::indexStatements()
{
    return {u"CREATE INDEX CdRomListDt_Copies ON CdRomListDt(FileSize, FileName, FileData, DiskCode)"_s};
}

namespace {

using SizeWork = std::function<void(const QString &size, const std::vector<Record> &, const Groups &)>;

// Counts each disc's files and those of them with a copy elsewhere.
SizeWork countShares(QHash<qint64, Copies::DiscShare> &counts)
{
    return [&counts](const QString &, const std::vector<Record> &records, const Groups &groups) {
        for (size_t i = 0; i < records.size(); ++i) {
            Copies::DiscShare &share = counts[records[i].disc];
            ++share.files;
            share.copied += groups.several(i) ? 1 : 0;
        }
    };
}

// Each disc (or the one given) with its counts, in the order of the disc tree.
QList<Copies::DiscShare> sharesOf(const QString &connectionName, std::optional<qint64> disc,
                                  const QHash<qint64, Copies::DiscShare> &counts)
{
    QSqlQuery query = runStatement(connectionName,
                                   u"SELECT DiskCode, DiskName FROM CdRomListMt ORDER BY DiskName COLLATE LOCALE"_s);
    QList<Copies::DiscShare> shares;
    while (query.next()) {
        const qint64 code = query.value(0).toLongLong();
        if (disc && code != *disc)
            continue;
        Copies::DiscShare share = counts.value(code);
        share.code = code;
        share.name = query.value(1).toString();
        shares.append(share);
    }
    return shares;
}

SizeWork handSingle(const QHash<qint64, QString> &names, std::optional<qint64> disc,
                    const std::function<void(FileRow &&)> &each)
{
    return [&names, disc, &each](const QString &size, const std::vector<Record> &records, const Groups &groups) {
        for (size_t i = 0; i < records.size(); ++i) {
            const Record &r = records[i];
            if (!groups.several(i) && (!disc || r.disc == *disc))
                each(FileRow{names.value(r.disc), {r.name, size, r.time, r.path}});
        }
    };
}

SizeWork handDuplicates(const QHash<qint64, QString> &names, std::optional<qint64> disc,
                        const std::function<void(Copies::Group &&)> &each)
{
    return [&names, disc, &each](const QString &size, const std::vector<Record> &records, const Groups &groups) {
        QHash<size_t, Copies::Group> found;
        QHash<size_t, QList<qint64>> discs;
        std::vector<size_t> order;
        for (size_t i = 0; i < records.size(); ++i) {
            if (!groups.several(i))
                continue;
            const size_t root = groups.of[i];
            auto it = found.find(root);
            if (it == found.end()) {
                it = found.insert(root, Copies::Group{records[i].name, size, records[i].time, {}, {}});
                order.push_back(root);
            }
            if (it->digest.isEmpty())
                it->digest = records[i].digest;
            if (!discs[root].contains(records[i].disc))
                discs[root].append(records[i].disc);
        }
        for (size_t root : order) {
            if (disc && !discs[root].contains(*disc))
                continue;
            Copies::Group &group = found[root];
            for (qint64 code : std::as_const(discs[root]))
                group.discs.append(names.value(code));
            group.discs.sort(Qt::CaseInsensitive);
            each(std::move(group));
        }
    };
}

} // namespace

QList<Copies::DiscShare> Copies::shares(const QString &connectionName, std::optional<qint64> disc,
                                       const Going &going)
{
    QHash<qint64, DiscShare> counts;
    walk(connectionName, disc, false, countShares(counts), going);
    return sharesOf(connectionName, disc, counts);
}

void Copies::single(const QString &connectionName, std::optional<qint64> disc,
                    const std::function<void(FileRow &&)> &each, const Going &going)
{
    const QHash<qint64, QString> names = discNames(connectionName);
    walk(connectionName, disc, true, handSingle(names, disc, each), going);
}

void Copies::duplicates(const QString &connectionName, std::optional<qint64> disc,
                        const std::function<void(Group &&)> &each, const Going &going)
{
    const QHash<qint64, QString> names = discNames(connectionName);
    walk(connectionName, disc, false, handDuplicates(names, disc, each), going);
}

QList<Copies::DiscShare> Copies::all(const QString &connectionName, std::optional<qint64> disc,
                                     const std::function<void(FileRow &&)> &single,
                                     const std::function<void(Group &&)> &duplicate, const Going &going)
{
    const QHash<qint64, QString> names = discNames(connectionName);
    QHash<qint64, DiscShare> counts;
    const SizeWork shares = countShares(counts);
    const SizeWork singles = handSingle(names, disc, single);
    const SizeWork duplicates = handDuplicates(names, disc, duplicate);
    walk(
        connectionName, disc, true,
        [&](const QString &size, const std::vector<Record> &records, const Groups &groups) {
            shares(size, records, groups);
            singles(size, records, groups);
            duplicates(size, records, groups);
        },
        going);
    return sharesOf(connectionName, disc, counts);
}
