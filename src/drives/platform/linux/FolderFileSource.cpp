#include "FolderFileSource.h"

#include "drives/platform/Platform.h"
#include "drives/platform/formats/FileSectorReader.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class DescriptorContent : public FileContent {
public:
    DescriptorContent(int fd, qint64 size)
        : m_fd(fd)
        , m_size(size)
    {
        posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }

    qint64 size() const override { return m_size; }
    qint64 read(qint64 offset, char *buffer, qint64 length) override
    {
        return FileSectorReader::readAt(m_fd.get(), offset, buffer, length);
    }

private:
    UniqueFd m_fd;
    qint64 m_size;
};

} // namespace

FolderFileSource::FolderFileSource(const QString &root)
    : m_root(::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (!m_root.valid())
        m_rootError = errno;
}

// Component by component from the root, so that no link leads out of it.
std::unique_ptr<FileContent> FolderFileSource::open(const QString &relativePath, int &error)
{
    const std::optional<QStringList> parts = Platform::splitRelativePath(relativePath);
    if (!m_root.valid() || !parts || parts->isEmpty()) {
        error = m_root.valid() ? ENOENT : m_rootError;
        return nullptr;
    }
    int fd = ::fcntl(m_root.get(), F_DUPFD_CLOEXEC, 0);
    for (qsizetype i = 0; i < parts->size() && fd >= 0; ++i) {
        const bool last = i + 1 == parts->size();
        const int flags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | (last ? O_NONBLOCK : O_DIRECTORY);
        const int next = ::openat(fd, QFile::encodeName(parts->at(i)).constData(), flags);
        const int opened = errno;
        ::close(fd);
        fd = next;
        errno = opened;
    }
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    UniqueFd file(fd);
    struct stat st {};
    if (fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    // Opened without blocking (a FIFO would wait for a writer); read as usual from here.
    fcntl(file.get(), F_SETFL, fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return std::make_unique<DescriptorContent>(file.release(), qint64(st.st_size));
}
