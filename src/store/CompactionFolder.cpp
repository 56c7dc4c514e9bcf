#include "CompactionFolder.h"

#include "DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString prefixOf(const QString &catalogueFile)
{
    return u"."_s + QFileInfo(catalogueFile).fileName() + u".compact-"_s;
}

} // namespace

CompactionFolder::CompactionFolder(const QString &catalogueFile)
{
    const QFileInfo catalogue(catalogueFile);
    QByteArray pattern = QFile::encodeName(catalogue.absolutePath() + u'/' + prefixOf(catalogueFile) + u"XXXXXX"_s);
    // mkdtemp makes the folder with mode 0700 and fails where the name exists, link or not.
    if (!::mkdtemp(pattern.data()))
        throw DbError(QString::fromLocal8Bit(std::strerror(errno)));
    m_folder = QFile::decodeName(pattern);
}

CompactionFolder::~CompactionFolder()
{
    removeFolder(m_folder);
}

QString CompactionFolder::copyFile() const
{
    return m_folder + u"/TempdbQL.mdb"_s;
}

QStringList CompactionFolder::leftovers(const QString &catalogueFile)
{
    const QFileInfo catalogue(catalogueFile);
    const QString prefix = prefixOf(catalogueFile);
    QStringList found;
    const QDir folder(catalogue.absolutePath());
    for (const QString &name : folder.entryList({prefix + u"??????"_s}, QDir::AllEntries | QDir::Hidden | QDir::System)) {
        const QString path = folder.filePath(name);
        struct stat status {};
        if (::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
            status.st_uid == ::geteuid())
            found.append(path);
    }
    return found;
}

void CompactionFolder::removeLeftovers(const QString &catalogueFile)
{
    for (const QString &folder : leftovers(catalogueFile))
        removeFolder(folder);
}

// Unlinks the folder's entries by name (unlinkat follows no link) and then the folder; a
// folder inside is never made by a compaction and stays, and with it this folder.
void CompactionFolder::removeFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (DIR *entries = ::fdopendir(fd)) {
        while (const dirent *entry = ::readdir(entries))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                ::unlinkat(fd, entry->d_name, 0);
        ::closedir(entries); // closes fd
    } else {
        ::close(fd);
    }
    ::rmdir(path.constData());
}
