#include "IsoDirectoryRecord.h"

#include "IsoNames.h"

#include <QByteArray>
#include <QDate>

namespace {
constexpr qsizetype kExtentAt = 2;
constexpr qsizetype kDataLengthAt = 10;
constexpr qsizetype kRecordedAt = 18;
constexpr qsizetype kFlagsAt = 25;
constexpr qsizetype kNameLengthAt = 32;
constexpr qint64 kTicksPerSecond = 10000000;
// The offset from GMT is kept in quarter hours, from -12 to +13 hours.
constexpr int kLowestOffset = -48;
constexpr int kHighestOffset = 52;

quint32 le32(QByteArrayView data, qsizetype at)
{
    return quint32(quint8(data[at])) | quint32(quint8(data[at + 1])) << 8 | quint32(quint8(data[at + 2])) << 16 |
           quint32(quint8(data[at + 3])) << 24;
}
} // namespace

quint64 IsoDirectoryRecord::fileTimeOf(QByteArrayView recorded)
{
    if (recorded.size() < 7)
        return 0;
    const auto field = [&](int i) { return int(quint8(recorded[i])); };
    const QDate date(1900 + field(0), field(1), field(2));
    if (!date.isValid() || field(3) > 23 || field(4) > 59 || field(5) > 59)
        return 0;
    int offset = int(qint8(recorded[6]));
    if (offset < kLowestOffset || offset > kHighestOffset)
        offset = 0; // not a time zone: the time is taken as GMT
    static const qint64 day1601 = QDate(1601, 1, 1).toJulianDay();
    const qint64 seconds =
        (date.toJulianDay() - day1601) * 86400 + field(3) * 3600 + field(4) * 60 + field(5) - qint64(offset) * 15 * 60;
    return seconds < 0 ? 0 : quint64(seconds) * kTicksPerSecond;
}

std::optional<IsoDirectoryRecord> IsoDirectoryRecord::parse(QByteArrayView record, bool joliet)
{
    if (record.isEmpty())
        return std::nullopt;
    const qsizetype length = quint8(record[0]);
    if (length <= HeaderSize || length > record.size())
        return std::nullopt;
    const qsizetype nameLength = quint8(record[kNameLengthAt]);
    if (nameLength == 0 || HeaderSize + nameLength > length)
        return std::nullopt;
    IsoDirectoryRecord result;
    result.extent = le32(record, kExtentAt);
    result.dataLength = le32(record, kDataLengthAt);
    result.fileTime = fileTimeOf(record.sliced(kRecordedAt, 7));
    result.flags = quint8(record[kFlagsAt]);
    const QByteArrayView identifier = record.sliced(HeaderSize, nameLength);
    if (nameLength == 1 && (identifier[0] == '\0' || identifier[0] == '\1')) {
        result.kind = identifier[0] == '\0' ? Kind::Self : Kind::Parent;
        return result;
    }
    const QString raw = joliet ? IsoNames::joliet(identifier) : IsoNames::primary(identifier);
    result.name = IsoNames::shown(raw, result.isDirectory());
    return result;
}
