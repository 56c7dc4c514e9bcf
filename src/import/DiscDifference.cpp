#include "DiscDifference.h"

#include "store/FileRowModel.h"

#include <QCoreApplication>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

QString keyOf(const QString &folder, const QString &name)
{
    return folder + u'\x1f' + name;
}

bool sameFile(const StoredFile &stored, const FileRecord &now, const QByteArray *digest)
{
    if (stored.record.size != now.size || stored.record.date != now.date)
        return false;
    // Checksums tell a changed content only where both were read.
    const bool bothRead = digest && !digest->isEmpty() && stored.digest && !stored.digest->isEmpty();
    return !bothRead || *stored.digest == *digest;
}

} // namespace

DiscDifference DiscDifference::between(const QList<StoredFile> &stored, const FileRowModel &scan,
                                       const QList<QByteArray> *digests)
{
    // Each key's records in order; a scanned file takes the first one left.
    QHash<QString, QList<qsizetype>> waiting;
    for (qsizetype i = 0; i < stored.size(); ++i)
        waiting[keyOf(stored.at(i).record.folder, stored.at(i).record.name)].append(i);
    QList<bool> matched(stored.size(), false);
    DiscDifference difference;
    for (int row = 0; row < scan.rowCount(); ++row) {
        const FileRecord now = scan.row(row).scannedRecord(0);
        auto found = waiting.find(keyOf(now.folder, now.name));
        if (found == waiting.end() || found->isEmpty()) {
            difference.added.append(row);
            continue;
        }
        const qsizetype index = found->takeFirst();
        matched[index] = true;
        const QByteArray *digest = digests && row < digests->size() ? &digests->at(row) : nullptr;
        if (sameFile(stored.at(index), now, digest))
            ++difference.unchanged;
        else
            difference.changed.append({stored.at(index), row});
    }
    for (qsizetype i = 0; i < stored.size(); ++i)
        if (!matched.at(i))
            difference.removed.append(stored.at(i));
    return difference;
}

QString DiscDifference::countsText() const
{
    return QCoreApplication::translate("DiscDifference", "新增%1个文件，删除%2个，更改%3个，未变%4个")
        .arg(added.size())
        .arg(removed.size())
        .arg(changed.size())
        .arg(unchanged);
}
