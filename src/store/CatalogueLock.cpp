#include "CatalogueLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString currentUser()
{
    const passwd *entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(::geteuid());
}

} // namespace

QString CatalogueLock::lockFileOf(const QString &catalogueFile)
{
    return catalogueFile + u".lock"_s;
}

CatalogueLock::CatalogueLock(const QString &catalogueFile)
{
    const QByteArray path = QFile::encodeName(lockFileOf(catalogueFile));
    // Everyone may read the lock file, so another user's program can lock it to see
    // whether it is in use (flock needs no write access).
    const mode_t oldMask = ::umask(0022);
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    ::umask(oldMask);
    if (m_fd < 0 && errno == EACCES)
        m_fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (m_fd < 0)
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

void CatalogueLock::writeOwner()
{
    const QByteArray owner = QByteArray::number(qint64(::getpid())) + ' ' + currentUser().toLocal8Bit() + '\n';
    // The line only names the user in another program's message; the lock holds without it.
    if (::ftruncate(m_fd, 0) != 0 || ::pwrite(m_fd, owner.constData(), size_t(owner.size()), 0) < 0)
        return;
}

void CatalogueLock::readHolder()
{
    char buffer[256];
    const ssize_t read = ::pread(m_fd, buffer, sizeof buffer - 1, 0);
    const QString text = read > 0 ? QString::fromLocal8Bit(buffer, read).trimmed() : QString();
    const qsizetype blank = text.indexOf(u' ');
    m_holder = blank >= 0 ? text.mid(blank + 1) : text;
}
