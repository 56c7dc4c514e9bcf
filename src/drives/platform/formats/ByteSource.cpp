#include "ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileByteSource::FileByteSource(const std::string &path)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat status {};
    if (m_fd >= 0 && (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode))) {
        ::close(m_fd);
        m_fd = -1; // a device or a pipe is no archive to list
    }
    m_size = m_fd >= 0 ? qint64(status.st_size) : 0;
}

FileByteSource::~FileByteSource()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 FileByteSource::read(qint64 offset, char *buffer, qint64 length)
{
    if (m_fd < 0)
        return -EBADF;
    if (offset < 0 || length < 0)
        return -EINVAL;
    ssize_t got;
    do
        got = ::pread(m_fd, buffer, size_t(length), offset);
    while (got < 0 && errno == EINTR);
    return got < 0 ? -qint64(errno) : qint64(got);
}

qint64 MemoryByteSource::read(qint64 offset, char *buffer, qint64 length)
{
    if (offset < 0 || length < 0)
        return -EINVAL;
    if (offset >= size())
        return 0;
    const qint64 count = std::min(length, size() - offset);
    std::memcpy(buffer, m_bytes.data() + offset, size_t(count));
    return count;
}
