#include "IsoFileSystem.h"

#include <algorithm>

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
    quint32 extent = m_volume.rootExtent;
    auto directory = readDirectory(extent, m_volume.rootLength);
    QList<quint32> above; // the extents of the directories on the way, root first
    for (const QString &name : components) {
        if (!directory)
            return std::nullopt;
        above.append(extent);
        const IsoDirectoryRecord *sub = subdirectory(*directory, name, above);
        if (!sub)
            return std::nullopt;
        directory = readDirectory(sub->extent, sub->dataLength);
        if (directory && directory->parentExtent != extent)
            return std::nullopt; // listed here, but it says it belongs elsewhere
        extent = sub->extent;
    }
    if (!directory)
        return std::nullopt;
    above.append(extent);
    QList<IsoDirectoryRecord> records = directory->records;
    records.removeIf([&](const IsoDirectoryRecord &r) { return r.isDirectory() && above.contains(r.extent); });
    return IsoDirectory::entries(records);
}

const IsoDirectoryRecord *IsoFileSystem::subdirectory(const IsoDirectory &directory, const QString &name,
                                                      const QList<quint32> &above) const
{
    const auto find = [&](Qt::CaseSensitivity cs) -> const IsoDirectoryRecord * {
        for (const IsoDirectoryRecord &record : directory.records) {
            if (record.kind == IsoDirectoryRecord::Kind::Named && record.isDirectory() &&
                record.name.compare(name, cs) == 0 && !above.contains(record.extent))
                return &record;
        }
        return nullptr;
    };
    const IsoDirectoryRecord *exact = find(Qt::CaseSensitive);
    return exact ? exact : find(Qt::CaseInsensitive);
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
