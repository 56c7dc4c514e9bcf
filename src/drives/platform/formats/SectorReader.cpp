#include "SectorReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

qint64 SectorReader::readBytes(qint64 offset, char *buffer, qint64 length)
{
    const qint64 sector = offset / SectorSize;
    if (offset < 0 || sector > qint64(std::numeric_limits<quint32>::max()))
        return -EINVAL;
    const std::optional<QByteArray> data = readSector(quint32(sector));
    if (!data)
        return -EIO;
    const qint64 within = offset - sector * SectorSize;
    const qint64 n = std::clamp<qint64>(data->size() - within, 0, length);
    std::memcpy(buffer, data->constData() + within, size_t(n));
    return n;
}
