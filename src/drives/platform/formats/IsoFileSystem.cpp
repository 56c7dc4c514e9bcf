#include "IsoFileSystem.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace {
// Logical blocks are 2048 bytes on every disc seen; the standard also allows these.
qsizetype validBlockSize(quint32 blockSize)
{
    return blockSize == 512 || blockSize == 1024 || blockSize == 2048 ? qsizetype(blockSize) : 2048;
}
} // namespace

IsoFileSystem::IsoFileSystem(SectorReader &reader, const DiscVolume &volume)
    : m_reader(reader)
    , m_volume(volume)
    , m_joliet(volume.format == DiscVolume::Format::Joliet)
{
    m_volume.blockSize = quint32(validBlockSize(volume.blockSize));
}

std::optional<QList<DirEntry>> IsoFileSystem::list(const QStringList &components)
{
    const auto records = this->records(components);
    if (!records)
        return std::nullopt;
    return IsoDirectory::entries(*records);
}

std::optional<QList<IsoDirectoryRecord>> IsoFileSystem::records(const QStringList &components)
{
    quint32 extent = m_volume.rootExtent;
    auto directory = readDirectory(extent, m_volume.rootLength);
    QList<quint32> above{extent}; // the extents from the root down to the directory read
    for (const QString &name : components) {
        if (!directory)
            return std::nullopt;
        const auto sub = subdirectory(shown(*directory, above), name);
        if (!sub)
            return std::nullopt;
        directory = readDirectory(sub->extent, sub->dataLength);
        if (directory && directory->parentExtent != extent && directory->parentExtent != sub->extent)
            return std::nullopt; // listed here, but it says it belongs elsewhere
        extent = sub->extent;
        above.append(extent);
    }
    if (!directory)
        return std::nullopt;
    return shown(*directory, above);
}

QList<IsoDirectoryRecord> IsoFileSystem::shown(const IsoDirectory &directory, const QList<quint32> &above)
{
    QList<IsoDirectoryRecord> records;
    QSet<quint32> directories;
    for (const IsoDirectoryRecord &record : directory.records) {
        if (record.kind == IsoDirectoryRecord::Kind::Named && record.isDirectory() && !record.name.isEmpty()) {
            if (above.contains(record.extent) || directories.contains(record.extent))
                continue;
            directories.insert(record.extent);
        }
        records.append(record);
    }
    return records;
}

std::optional<IsoDirectoryRecord> IsoFileSystem::subdirectory(const QList<IsoDirectoryRecord> &records,
                                                              const QString &name)
{
    for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const IsoDirectoryRecord &record : records) {
            if (record.kind == IsoDirectoryRecord::Kind::Named && record.isDirectory() &&
                record.name.compare(name, cs) == 0)
                return record;
        }
    }
    return std::nullopt;
}

std::optional<IsoDirectory> IsoFileSystem::readDirectory(quint32 extent, quint32 length)
{
    const QByteArray bytes = readExtent(extent, std::min(length, MostDirectoryBytes));
    if (bytes.isEmpty())
        return std::nullopt;
    return IsoDirectory::parse(bytes, m_volume.blockSize, m_joliet);
}

QByteArray IsoFileSystem::readExtent(quint32 extent, quint32 length)
{
    constexpr qint64 sectorSize = SectorReader::SectorSize;
    const qint64 start = qint64(extent) * m_volume.blockSize;
    const qint64 end = start + length;
    QByteArray bytes;
    for (qint64 sector = start / sectorSize; sector * sectorSize < end; ++sector) {
        if (sector > qint64(std::numeric_limits<quint32>::max()))
            break;
        const auto data = m_reader.readSector(quint32(sector));
        if (!data || data->size() != sectorSize)
            break; // a damaged disc or a record pointing past its end: what was read so far
        const qint64 from = std::max(start, sector * sectorSize) - sector * sectorSize;
        const qint64 to = std::min(end, (sector + 1) * sectorSize) - sector * sectorSize;
        bytes.append(data->constData() + from, to - from);
    }
    return bytes;
}
