#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(const QString &catalogueFile)
    : m_base(basePath(catalogueFile))
{
}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {

// The catalogue's real path, also for a file not made yet (the user's own on the first
// start): its folder's real path and its name.
QString realPath(const QString &file)
{
    const QFileInfo info(file);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

} // namespace

QString SingleInstance::basePath(const QString &catalogueFile)
{
    // A digest keeps the name short enough for a socket address whatever the path.
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(QFile::encodeName(realPath(catalogueFile)), QCryptographicHash::Sha256)
            .toHex()
            .left(16));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + u"/Quillon-"_s + key;
    return QDir::tempPath() + u"/Quillon-%1-"_s.arg(::getuid()) + key;
}

// The lock file may lie in the temporary folder every user shares: a link placed there
// is not followed, and a file another user made (and might hold) is not ours to trust.
int SingleInstance::openOwnLockFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::getuid() || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SingleInstance::acquire()
{
    if (m_fd >= 0)
        return true;
    const int fd = openOwnLockFile(lockPath());
    if (fd < 0)
        return true; // Without a lock file of our own there is nothing to guard with; run.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    m_fd = fd;
    return true;
}
