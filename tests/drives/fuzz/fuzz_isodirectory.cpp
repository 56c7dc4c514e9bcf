// libFuzzer target for the ISO 9660 directory reader. The input is a disc: its first 8
// bytes choose Joliet or primary names, the logical block size and where the root
// directory lies; the bytes after them are the disc's sectors. The records are parsed
// alone, then the whole tree is walked as the scan walks it, from the chosen root and
// from the disc's own descriptors when it has some. A path deeper than the disc has
// distinct directories has gone round in circles: that aborts. (A walk may still list
// many paths on a disc made to multiply them; it is cut short, not counted as a fault.)
#include "drives/platform/formats/IsoDirectory.h"
#include "drives/platform/formats/IsoFileSystem.h"
#include "drives/platform/formats/VolumeDescriptors.h"

#include <QByteArray>

#include <cstdlib>

namespace {
constexpr qsizetype kHeader = 8;
constexpr quint32 kBlockSizes[4] = {2048, 512, 1024, 777}; // 777: not one, read as 2048

class BytesSectorReader : public SectorReader {
public:
    explicit BytesSectorReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }
    std::optional<QByteArray> readSector(quint32 sector) override
    {
        const qsizetype at = qsizetype(sector) * SectorSize;
        if (at + SectorSize > m_bytes.size())
            return std::nullopt;
        return m_bytes.sliced(at, SectorSize).toByteArray();
    }
    quint32 sessionStart() const override { return 0; }
    qsizetype sectors() const { return m_bytes.size() / SectorSize; }

private:
    QByteArrayView m_bytes;
};

class Walk {
public:
    Walk(IsoFileSystem &fileSystem, qsizetype mostDepth)
        : m_fileSystem(fileSystem)
        , m_mostDepth(mostDepth)
    {
    }

    void visit(const QStringList &path)
    {
        if (path.size() > m_mostDepth)
            std::abort();
        if (++m_listings > kMostListings)
            return;
        const auto entries = m_fileSystem.list(path);
        if (!entries)
            return;
        for (const DirEntry &entry : *entries) {
            if (entry.isDir)
                visit(path + QStringList{entry.name});
        }
    }

private:
    static constexpr int kMostListings = 5000;
    IsoFileSystem &m_fileSystem;
    qsizetype m_mostDepth;
    int m_listings = 0;
};

void walk(BytesSectorReader &reader, const DiscVolume &volume)
{
    IsoFileSystem fileSystem(reader, volume);
    // Every directory on a path has an extent of its own whose first block can be read:
    // with 512-byte blocks four to a sector.
    Walk(fileSystem, reader.sectors() * 4 + 1).visit({});
}

quint32 le32(const uint8_t *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(kHeader))
        return 0;
    const QByteArrayView disc(reinterpret_cast<const char *>(data) + kHeader, qsizetype(size) - kHeader);
    const bool joliet = data[0] & 1;
    const quint32 blockSize = kBlockSizes[(data[0] >> 1) & 3];

    const IsoDirectory alone = IsoDirectory::parse(disc, blockSize, joliet);
    IsoDirectory::entries(alone.records);

    BytesSectorReader reader(disc);
    DiscVolume volume;
    volume.format = joliet ? DiscVolume::Format::Joliet : DiscVolume::Format::Iso9660;
    volume.blockSize = blockSize;
    volume.rootExtent = quint32(data[1]) | quint32(data[2]) << 8;
    volume.rootLength = le32(data + 3);
    walk(reader, volume);
    if (const auto own = VolumeDescriptors::readIso9660(reader))
        walk(reader, *own);
    return 0;
}
