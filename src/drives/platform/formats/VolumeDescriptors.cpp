#include "VolumeDescriptors.h"

#include "DiscBytes.h"
#include "DiscSerial.h"
#include "UdfDescriptors.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
constexpr quint32 kFirstDescriptor = 16;
// A disc has a handful of descriptors; this only bounds a damaged one.
constexpr quint32 kMostDescriptors = 64;
constexpr quint8 kPrimary = 1;
constexpr quint8 kSupplementary = 2;
constexpr quint8 kTerminator = 255;
constexpr qint32 kJolietNameLength = 110;
constexpr qint32 kIsoNameLength = 221;

QByteArrayView standardId(const QByteArray &sector)
{
    return QByteArrayView(sector).sliced(1, 5);
}

bool isJoliet(const QByteArray &descriptor)
{
    const QByteArrayView escape = QByteArrayView(descriptor).sliced(88, 3);
    return escape == "%/@" || escape == "%/C" || escape == "%/E";
}

QString trimmedLabel(QString label)
{
    while (!label.isEmpty() && (label.back() == u' ' || label.back() == QChar(0)))
        label.chop(1);
    return label;
}

// The primary descriptor's identifier is meant to be ASCII. Discs burnt on Chinese
// systems often carry GBK bytes there, which Windows in code page 936 shows as Chinese.
QString primaryLabel(const QByteArray &descriptor)
{
    const QByteArray bytes = descriptor.mid(40, 32);
    QStringDecoder gb18030("GB18030");
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (ascii || !gb18030.isValid())
        return trimmedLabel(QString::fromLatin1(bytes));
    return trimmedLabel(gb18030.decode(bytes));
}

QString jolietLabel(const QByteArray &descriptor)
{
    QString label;
    for (int i = 0; i < 16; ++i)
        label.append(QChar(DiscBytes::be16(descriptor, 40 + 2 * i)));
    return trimmedLabel(label);
}

DiscVolume isoVolume(const QByteArray &active, bool joliet, const QByteArray &sizes)
{
    using namespace VolumeFlags;
    DiscVolume volume;
    volume.format = joliet ? DiscVolume::Format::Joliet : DiscVolume::Format::Iso9660;
    volume.info.label = joliet ? jolietLabel(active) : primaryLabel(active);
    volume.info.serial = DiscSerial::iso9660(active);
    volume.info.fileSystem = u"CDFS"_s;
    volume.info.flags = CaseSensitiveSearch | ReadOnlyVolume | (joliet ? UnicodeOnDisk : 0u);
    volume.info.maxComponentLength = joliet ? kJolietNameLength : kIsoNameLength;
    volume.blockSize = DiscBytes::le16(sizes, 128);
    volume.size = qint64(DiscBytes::le32(sizes, 80)) * volume.blockSize;
    volume.rootExtent = DiscBytes::le32(active, 156 + 2);
    volume.rootLength = DiscBytes::le32(active, 156 + 10);
    return volume;
}
} // namespace

namespace VolumeDescriptors {

std::optional<DiscVolume> read(SectorReader &reader)
{
    // Windows reads a disc that also carries UDF as UDF, even when it has ISO 9660
    // descriptors as well (a "UDF bridge" disc). This follows Microsoft's published
    // CDFS sources and has not yet been checked against a real UDF-bridge disc.
    if (carriesUdf(reader)) {
        if (auto udf = UdfDescriptors::read(reader))
            return udf;
    }
    return readIso9660(reader);
}

std::optional<DiscVolume> readIso9660(SectorReader &reader)
{
    const quint32 base = reader.sessionStart() + kFirstDescriptor;
    std::optional<QByteArray> primary, joliet;
    for (quint32 n = 0; n < kMostDescriptors; ++n) {
        const auto sector = reader.readSector(base + n);
        if (!sector || standardId(*sector) != "CD001" || sector->at(6) != 1)
            break;
        const quint8 type = quint8(sector->at(0));
        if (type == kTerminator)
            break;
        if (type == kPrimary && !primary)
            primary = sector;
        else if (type == kSupplementary && !joliet && isJoliet(*sector))
            joliet = sector;
    }
    if (joliet)
        return isoVolume(*joliet, true, primary ? *primary : *joliet);
    if (primary)
        return isoVolume(*primary, false, *primary);
    return std::nullopt;
}

bool carriesUdf(SectorReader &reader)
{
    // The volume recognition sequence: an extended area BEA01 … TEA01 holding NSR02 or
    // NSR03, among the ISO 9660 descriptors from sector 16 on.
    static const QList<QByteArrayView> known{"CD001", "BEA01", "NSR02", "NSR03", "TEA01", "BOOT2", "CDW02"};
    bool extended = false, nsr = false;
    const quint32 base = reader.sessionStart() + kFirstDescriptor;
    for (quint32 n = 0; n < kMostDescriptors; ++n) {
        const auto sector = reader.readSector(base + n);
        if (!sector || !known.contains(standardId(*sector)))
            break;
        const QByteArrayView id = standardId(*sector);
        if (id == "BEA01")
            extended = true;
        else if (extended && (id == "NSR02" || id == "NSR03"))
            nsr = true;
        else if (id == "TEA01" && nsr)
            return true;
    }
    return false;
}

} // namespace VolumeDescriptors
