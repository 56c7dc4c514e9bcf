#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// The 32-bit serial numbers Windows derives from a disc's own sectors: byte i of a
// 2048-byte sector is added, wrapping, to 8-bit lane i % 4.
namespace DiscSerial {
// ISO 9660 and Joliet, over the active volume descriptor: lane 0 is the high byte.
quint32 iso9660(QByteArrayView descriptor);
// UDF, over the File Set Descriptor: the lanes in reverse order, lane 3 high.
quint32 udf(QByteArrayView fileSetDescriptor);
} // namespace DiscSerial
