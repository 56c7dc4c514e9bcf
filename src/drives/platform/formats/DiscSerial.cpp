#include "DiscSerial.h"

#include <array>

namespace {
std::array<quint8, 4> lanes(QByteArrayView sector)
{
    std::array<quint8, 4> lane{};
    for (qsizetype i = 0; i < sector.size(); ++i)
        lane[size_t(i % 4)] = quint8(lane[size_t(i % 4)] + quint8(sector[i]));
    return lane;
}
} // namespace

namespace DiscSerial {

quint32 iso9660(QByteArrayView descriptor)
{
    const auto l = lanes(descriptor);
    return quint32(l[0]) << 24 | quint32(l[1]) << 16 | quint32(l[2]) << 8 | l[3];
}

quint32 udf(QByteArrayView fileSetDescriptor)
{
    const auto l = lanes(fileSetDescriptor);
    return quint32(l[3]) << 24 | quint32(l[2]) << 16 | quint32(l[1]) << 8 | l[0];
}

} // namespace DiscSerial
