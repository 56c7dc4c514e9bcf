#include "FileSectorReader.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

FileSectorReader::FileSectorReader(int fd, quint32 sessionStart)
    : m_fd(fd)
    , m_sessionStart(sessionStart)
{
}

std::unique_ptr<FileSectorReader> FileSectorReader::openImage(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_unique<FileSectorReader>(fd, 0);
}

std::optional<QByteArray> FileSectorReader::readSector(quint32 sector)
{
    QByteArray data(SectorSize, Qt::Uninitialized);
    const off_t offset = off_t(sector) * SectorSize;
    qsizetype done = 0;
    while (done < SectorSize) {
        const ssize_t n = ::pread(m_fd.get(), data.data() + done, size_t(SectorSize - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt; // a read error, no medium, or past the end
        done += n;
    }
    return data;
}

qint64 FileSectorReader::readBytes(qint64 offset, char *buffer, qint64 length)
{
    return readAt(m_fd.get(), offset, buffer, length);
}

qint64 FileSectorReader::readAt(int fd, qint64 offset, char *buffer, qint64 length)
{
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, size_t(length), off_t(offset));
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return -errno;
    }
}
