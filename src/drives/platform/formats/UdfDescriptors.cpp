#include "UdfDescriptors.h"

#include "DiscBytes.h"
#include "DiscSerial.h"
#include "VolumeRules.h"

#include <QList>

using namespace Qt::StringLiterals;
using DiscBytes::le16;
using DiscBytes::le32;

namespace {
constexpr quint32 kAnchorSector = 256;
constexpr quint32 kMostDescriptors = 64;
constexpr qint32 kNameLength = 255;

enum Tag : quint16 {
    AnchorPointer = 2,
    PartitionDescriptor = 5,
    LogicalVolumeDescriptor = 6,
    TerminatingDescriptor = 8,
    FileSetDescriptor = 256,
};

// A descriptor of the given kind whose tag checksum holds.
bool hasTag(const QByteArray &sector, quint16 id)
{
    if (sector.size() < 16 || le16(sector, 0) != id)
        return false;
    quint8 sum = 0;
    for (int i = 0; i < 16; ++i)
        sum = quint8(sum + (i == 4 ? 0 : quint8(sector[i])));
    return sum == quint8(sector[4]);
}

struct Partition {
    quint16 number = 0;
    quint32 start = 0;
    quint32 length = 0;
};

struct LogicalVolume {
    QByteArray descriptor;
    quint32 blockSize = 2048;
    quint32 fileSetBlock = 0;
    quint16 fileSetPartitionRef = 0;
};

// The partition number the logical volume's partition map names for a reference, or
// nothing when that map is not a plain (type 1) map.
std::optional<quint16> mappedPartition(const QByteArray &lvd, quint16 ref)
{
    const quint32 count = le32(lvd, 268);
    qsizetype at = 440;
    for (quint32 i = 0; i < count && at + 2 <= lvd.size(); ++i) {
        const quint8 type = quint8(DiscBytes::byteAt(lvd, at));
        const quint8 length = quint8(DiscBytes::byteAt(lvd, at + 1));
        if (i == ref)
            return type == 1 ? std::optional<quint16>(le16(lvd, at + 4)) : std::nullopt;
        if (length == 0)
            break;
        at += length;
    }
    return std::nullopt;
}

struct Sequence {
    std::optional<LogicalVolume> volume;
    QList<Partition> partitions;
};

Sequence readSequence(SectorReader &reader, quint32 start, quint32 sectors)
{
    Sequence seq;
    for (quint32 n = 0; n < std::min(sectors, kMostDescriptors); ++n) {
        const auto sector = reader.readSector(start + n);
        if (!sector || hasTag(*sector, TerminatingDescriptor))
            break;
        if (hasTag(*sector, PartitionDescriptor))
            seq.partitions.append(Partition{le16(*sector, 22), le32(*sector, 188), le32(*sector, 192)});
        else if (hasTag(*sector, LogicalVolumeDescriptor) && !seq.volume)
            seq.volume = LogicalVolume{*sector, le32(*sector, 212), le32(*sector, 252), le16(*sector, 256)};
    }
    return seq;
}

std::optional<Partition> fileSetPartition(const Sequence &seq)
{
    if (seq.partitions.isEmpty())
        return std::nullopt;
    // Partitions behind other maps (virtual, sparable, metadata) are not followed:
    // the first partition stands for them, and a wrong guess fails the tag check.
    const auto number = mappedPartition(seq.volume->descriptor, seq.volume->fileSetPartitionRef);
    for (const Partition &p : seq.partitions) {
        if (number && p.number == *number)
            return p;
    }
    return seq.partitions.first();
}
} // namespace

namespace UdfDescriptors {

std::optional<DiscVolume> read(SectorReader &reader)
{
    const auto anchor = reader.readSector(reader.sessionStart() + kAnchorSector);
    if (!anchor || !hasTag(*anchor, AnchorPointer))
        return std::nullopt;
    const quint32 length = le32(*anchor, 16);
    const Sequence seq = readSequence(reader, le32(*anchor, 20), length / quint32(SectorReader::SectorSize));
    const auto partition = seq.volume ? fileSetPartition(seq) : std::nullopt;
    if (!partition || seq.volume->blockSize != SectorReader::SectorSize)
        return std::nullopt;
    const auto fileSet = reader.readSector(partition->start + seq.volume->fileSetBlock);
    if (!fileSet || !hasTag(*fileSet, FileSetDescriptor))
        return std::nullopt;

    DiscVolume volume;
    volume.format = DiscVolume::Format::Udf;
    volume.info.label = dstring(seq.volume->descriptor.mid(84, 128));
    // Windows' own UDF serial has not been compared with this one; this is the sum that
    // Wine gives the same disc.
    volume.info.serial = DiscSerial::udf(*fileSet);
    volume.info.fileSystem = u"UDF"_s;
    volume.info.flags = VolumeRules::flags(u"udf"_s, true);
    volume.info.maxComponentLength = kNameLength;
    volume.size = qint64(partition->length) * SectorReader::SectorSize;
    return volume;
}

QString dstring(const QByteArray &field)
{
    if (field.isEmpty())
        return {};
    const qsizetype used = std::min<qsizetype>(quint8(field.back()), field.size() - 1);
    if (used < 1)
        return {};
    const quint8 compression = quint8(field[0]);
    QString text;
    if (compression == 8 || compression == 254) {
        for (qsizetype i = 1; i < used; ++i)
            text.append(QChar(char16_t(quint8(field[i]))));
    } else if (compression == 16 || compression == 255) {
        for (qsizetype i = 1; i + 1 < used; i += 2)
            text.append(QChar(DiscBytes::be16(field, i)));
    }
    while (!text.isEmpty() && text.back() == QChar(0))
        text.chop(1);
    return text;
}

} // namespace UdfDescriptors
