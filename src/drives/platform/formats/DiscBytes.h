#pragma once

#include <QByteArray>

// Little- and big-endian numbers inside a disc sector; 0 past its end.
namespace DiscBytes {
inline quint32 byteAt(const QByteArray &data, qsizetype at)
{
    return at >= 0 && at < data.size() ? quint32(quint8(data[at])) : 0u;
}
inline quint16 le16(const QByteArray &data, qsizetype at)
{
    return quint16(byteAt(data, at) | byteAt(data, at + 1) << 8);
}
inline quint16 be16(const QByteArray &data, qsizetype at)
{
    return quint16(byteAt(data, at) << 8 | byteAt(data, at + 1));
}
inline quint32 le32(const QByteArray &data, qsizetype at)
{
    return le16(data, at) | quint32(le16(data, at + 2)) << 16;
}
} // namespace DiscBytes
