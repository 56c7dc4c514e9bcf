#include "IsoDirectory.h"

#include <algorithm>

namespace {
using Record = IsoDirectoryRecord;

bool listed(const Record &record)
{
    return record.kind == Record::Kind::Named && !(record.flags & Record::Associated) && !record.name.isEmpty();
}

bool continues(const Record &file, const Record &next)
{
    return (file.flags & Record::MultiExtent) && listed(next) && !next.isDirectory() && next.name == file.name;
}
} // namespace

IsoDirectory IsoDirectory::parse(QByteArrayView bytes, qsizetype blockSize, bool joliet)
{
    IsoDirectory directory;
    if (blockSize <= 0)
        blockSize = 2048;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype blockEnd = std::min(bytes.size(), (at / blockSize + 1) * blockSize);
        const qsizetype length = quint8(bytes[at]);
        if (length <= Record::HeaderSize || at + length > blockEnd) {
            at = blockEnd;
            continue;
        }
        if (const auto record = Record::parse(bytes.sliced(at, length), joliet)) {
            if (record->kind == Record::Kind::Parent && !directory.parentExtent)
                directory.parentExtent = record->extent;
            directory.records.append(*record);
        }
        at += length;
    }
    return directory;
}

QList<DirEntry> IsoDirectory::entries(const QList<IsoDirectoryRecord> &records)
{
    QList<DirEntry> result;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const Record &record = records[i];
        if (!listed(record))
            continue;
        DirEntry entry;
        entry.name = record.name;
        entry.isDir = record.isDirectory();
        entry.hidden = record.flags & Record::Existence;
        entry.creationTime = record.fileTime;
        entry.modificationTime = record.fileTime;
        if (!entry.isDir) {
            entry.size = record.dataLength;
            for (; i + 1 < records.size() && continues(records[i], records[i + 1]); ++i)
                entry.size += records[i + 1].dataLength;
        }
        result.append(entry);
    }
    return result;
}

std::optional<QList<FileExtent>> IsoDirectory::extents(const QList<IsoDirectoryRecord> &records, const QString &name,
                                                       qint64 blockSize)
{
    for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (qsizetype i = 0; i < records.size(); ++i) {
            const Record &record = records[i];
            if (!listed(record) || record.isDirectory() || record.name.compare(name, cs) != 0)
                continue;
            QList<FileExtent> pieces{{qint64(record.extent) * blockSize, record.dataLength}};
            for (; i + 1 < records.size() && continues(records[i], records[i + 1]); ++i)
                pieces.append({qint64(records[i + 1].extent) * blockSize, records[i + 1].dataLength});
            return pieces;
        }
    }
    return std::nullopt;
}
