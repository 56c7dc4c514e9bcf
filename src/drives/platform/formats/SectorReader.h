#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// Reads the 2048-byte sectors of a disc, from a drive or an image file.
class SectorReader {
public:
    static constexpr qsizetype SectorSize = 2048;

    virtual ~SectorReader() = default;
    // One sector by its absolute number; nothing when it cannot be read.
    virtual std::optional<QByteArray> readSector(quint32 sector) = 0;
    // The first sector of the disc's last session; its volume descriptors start 16
    // sectors later. 0 for a disc of one session and for an image file.
    virtual quint32 sessionStart() const = 0;
    // Up to length bytes from a byte offset of the disc (a file's content): the bytes read,
    // 0 past the end, or the system's error number negated. Sector by sector unless the
    // reader knows better; a sector that cannot be read is -EIO.
    virtual qint64 readBytes(qint64 offset, char *buffer, qint64 length);
};
