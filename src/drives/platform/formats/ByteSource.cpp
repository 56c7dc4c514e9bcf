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
    m_size = m_fd >= 0 ? int64_t(status.st_size) : 0;
}

FileByteSource::~FileByteSource()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int64_t FileByteSource::read(int64_t offset, void *buffer, size_t length)
{
    if (m_fd < 0 || offset < 0)
        return -1;
    ssize_t got;
    do
        got = ::pread(m_fd, buffer, length, offset);
    while (got < 0 && errno == EINTR);
    return got;
}

int64_t MemoryByteSource::read(int64_t offset, void *buffer, size_t length)
{
    if (offset < 0)
        return -1;
    if (offset >= size())
        return 0;
    const size_t count = std::min(length, size_t(size() - offset));
    std::memcpy(buffer, m_bytes.data() + offset, count);
    return int64_t(count);
}
