#include "CatalogueLock.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString userName(uid_t uid)
{
    const passwd *entry = ::getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The process that holds an flock on the file, as the kernel lists it; 0 when it is not
// listed (a lock on another machine, or in another process namespace).
pid_t flockHolder(const struct stat &file)
{
    FILE *locks = std::fopen("/proc/locks", "re");
    if (!locks)
        return 0;
    char line[256];
    pid_t holder = 0;
    while (!holder && std::fgets(line, sizeof line, locks)) {
        char kind[16] = {};
        long pid = 0;
        unsigned major = 0;
        unsigned minor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(line, "%*d: %15s %*s %*s %ld %x:%x:%llu", kind, &pid, &major, &minor, &inode) == 5 &&
            std::strcmp(kind, "FLOCK") == 0 && major == ::major(file.st_dev) && minor == ::minor(file.st_dev) &&
            inode == file.st_ino && pid > 0)
            holder = pid_t(pid);
    }
    std::fclose(locks);
    return holder;
}

} // namespace

QString CatalogueLock::lockFileOf(const QString &catalogueFile)
{
    return catalogueFile + u".lock"_s;
}

CatalogueLock::CatalogueLock(const QString &catalogueFile)
{
    if (!openLockFile(QFile::encodeName(lockFileOf(catalogueFile))))
        return;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_state = State::InUse;
        readHolder();
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_state = State::Held;
    writeOwner();
}

CatalogueLock::~CatalogueLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

// Opens the lock file without following a link and without waiting (a FIFO in its place
// would hold up the open for good), and accepts only a regular file.
bool CatalogueLock::openLockFile(const QByteArray &path)
{
    constexpr int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    // Everyone may read and write the lock file: another user's program locks it to see
    // whether it is in use, and writes its own line when it takes it.
    const mode_t oldMask = ::umask(0);
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | flags, 0666);
    ::umask(oldMask);
    m_writable = m_fd >= 0;
    // A lock file another user made before it was everyone's to write: flock needs no
    // write access.
    if (m_fd < 0 && errno == EACCES)
        m_fd = ::open(path.constData(), O_RDONLY | flags);
    if (m_fd < 0) {
        m_reason = systemMessage(errno);
        return false;
    }
    struct stat status {};
    if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        m_reason = QCoreApplication::translate("CatalogueLock", "%1 不是普通文件").arg(QFile::decodeName(path));
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    if (m_writable && status.st_uid == ::geteuid() && (status.st_mode & 0666) != 0666)
        ::fchmod(m_fd, 0666);
    return true;
}

void CatalogueLock::writeOwner()
{
    const QByteArray owner =
        QByteArray::number(qint64(::getpid())) + ' ' + userName(::geteuid()).toLocal8Bit() + '\n';
    // The line only names the user in another program's message (where the kernel's list of
    // locks does not); the lock holds without it.
    if (!m_writable || ::ftruncate(m_fd, 0) != 0 || ::pwrite(m_fd, owner.constData(), size_t(owner.size()), 0) < 0)
        return;
}

// The holder's user as the kernel's list of locks names it (the process's owner), else as
// the lock file's line says.
void CatalogueLock::readHolder()
{
    struct stat file {};
    if (::fstat(m_fd, &file) == 0) {
        struct stat process {};
        const pid_t pid = flockHolder(file);
        if (pid > 0 && ::stat(QByteArray("/proc/" + QByteArray::number(qint64(pid))).constData(), &process) == 0) {
            m_holder = userName(process.st_uid);
            return;
        }
    }
    char buffer[256];
    const ssize_t read = ::pread(m_fd, buffer, sizeof buffer - 1, 0);
    const QString text = read > 0 ? QString::fromLocal8Bit(buffer, read).trimmed() : QString();
    const qsizetype blank = text.indexOf(u' ');
    m_holder = blank >= 0 ? text.mid(blank + 1) : text;
}
