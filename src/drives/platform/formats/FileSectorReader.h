#pragma once

#include "SectorReader.h"
#include "UniqueFd.h"

#include <QString>
#include <memory>

// Sectors read with pread from an open device node or image file.
class FileSectorReader : public SectorReader {
public:
    FileSectorReader(int fd, quint32 sessionStart);

    // An image file or a device (whose tray a non-blocking open leaves alone) opened
    // read-only, as one session; nothing when it cannot be opened.
    static std::unique_ptr<FileSectorReader> openImage(const QString &path);

    std::optional<QByteArray> readSector(quint32 sector) override;
    quint32 sessionStart() const override { return m_sessionStart; }
    // One pread of the whole length.
    qint64 readBytes(qint64 offset, char *buffer, qint64 length) override;
    // pread on any descriptor, again when a signal interrupts it: the bytes read, or the
    // system's error number negated.
    static qint64 readAt(int fd, qint64 offset, char *buffer, qint64 length);

private:
    UniqueFd m_fd;
    quint32 m_sessionStart;
};
