#include "ScanFiles.h"

#include "ArchiveProbe.h"
#include "drives/platform/formats/ArchiveProtocol.h"
#include "drives/FileTime.h"
#include "drives/platform/NameMatcher.h"
#include "drives/platform/Platform.h"
#include "store/DateText.h"
#include "store/FileRowModel.h"
#include "store/ProgressSink.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

class Scan {
public:
    Scan(const QStringList &masks, FileRowModel &rows, const bool &scanning, ProgressSink *progress, ScanTime time,
         ArchiveScan *archives)
        : m_rows(rows)
        , m_scanning(scanning)
        , m_progress(progress)
        , m_time(time)
        , m_archives(archives)
    {
        for (const QString &mask : masks)
            m_matchers.emplace_back(mask);
    }

    // A folder as the rows show it, in letter form ending with a backslash ("g:\音乐\"), and
    // as the catalogue stores it, from the drive's root ("\音乐\"), and the bytes of its
    // path on the system (empty where the entries are read from a disc's own records).
    struct Folder {
        QString shown;
        QString stored;
        QByteArray native;
        QByteArray nativeChild(const QString &name, const QByteArray &nativeName) const
        {
            if (native.isEmpty())
                return {};
            return native + '/' + (nativeName.isEmpty() ? QFile::encodeName(name) : nativeName);
        }
        Folder child(const QString &name, const QByteArray &nativeName = {}) const
        {
            return {shown + name + u'\\', stored + name + u'\\', nativeChild(name, nativeName)};
        }
    };

    // Depth first without recursion: each level keeps its open directory and the next of
    // its entries to look at.
    void walk(std::unique_ptr<OpenDirectory> root, const Folder &folder)
    {
        m_pump.pump();
        std::vector<Level> levels;
        if (!enter(std::move(root), folder, levels))
            return;
        while (!levels.empty()) {
            if (!running())
                return; // a walk that was stopped adds nothing more on its way back up
            Level &level = levels.back();
            const QList<DirEntry> &entries = level.dir->listing().entries;
            while (level.next < entries.size() && !enterable(entries.at(level.next)))
                ++level.next;
            if (level.next == entries.size()) {
                addFiles(entries, level.folder);
                levels.pop_back();
                continue;
            }
            const DirEntry &entry = entries.at(level.next++);
            if (levels.size() > kScanDepth) {
                ++m_skipped.folders;
                continue;
            }
            m_pump.pump();
            enter(level.dir->openChild(entry), level.folder.child(entry.name, entry.nativeName), levels);
        }
    }

    const ScanSkipped &skipped() const { return m_skipped; }

private:
    struct Level {
        std::unique_ptr<OpenDirectory> dir;
        Folder folder;
        qsizetype next = 0;
    };

    static bool enterable(const DirEntry &entry) { return entry.isDir && !entry.hidden && !entry.otherDevice; }

    bool enter(std::unique_ptr<OpenDirectory> dir, const Folder &folder, std::vector<Level> &levels)
    {
        if (!dir) {
            ++m_skipped.folders;
            return false;
        }
        m_skipped.folders += dir->listing().unreadableFolders;
        m_skipped.files += dir->listing().unreadableFiles;
        levels.push_back(Level{std::move(dir), folder});
        return true;
    }

    bool running() const { return m_scanning && !(m_progress && m_progress->StopRequested()); }
    quint64 timeOf(const DirEntry &entry) const
    {
        return m_time == ScanTime::Modified ? entry.modificationTime : entry.creationTime;
    }

    void addFiles(const QList<DirEntry> &entries, const Folder &folder)
    {
        std::vector<FileRow> found;
        for (const NameMatcher &matcher : m_matchers)
            for (const DirEntry &entry : entries)
                if (!entry.isDir && matcher.matches(entry.name))
                    found.push_back(FileRow::scanned(entry.name, QString::number(entry.size),
                                                     DateText::fromDateTime(FileTimeToDateTime(timeOf(entry))),
                                                     folder.shown, folder.stored));
        if (m_archives)
            for (const DirEntry &entry : entries)
                if (!entry.isDir && running() && ArchiveProtocol::looksLikeArchive(entry.name.toStdString()))
                    addMembers(entry, folder, found);
        m_rows.appendRows(std::move(found));
    }

    void addMembers(const DirEntry &entry, const Folder &folder, std::vector<FileRow> &found)
    {
        // A disc read through its own records (an image not mounted) has no file to open yet.
        const ArchiveListing listing =
            folder.native.isEmpty()
                ? ArchiveListing{false, {}, QCoreApplication::translate("ScanFiles", "这张光盘上的文件不能直接读取")}
                : m_archives->probe.list(folder.nativeChild(entry.name, entry.nativeName), entry.name, [this] {
                      m_pump.pump();
                      return running();
                  });
        if (!listing.readable) {
            m_archives->unreadable.append(folder.shown + entry.name + u": "_s + listing.problem);
            return;
        }
        ++m_archives->listed;
        const QString ownTime = DateText::fromDateTime(FileTimeToDateTime(entry.modificationTime));
        const Folder inside = folder.child(entry.name);
        for (const NameMatcher &matcher : m_matchers)
            for (const ArchiveMember &member : listing.members)
                if (matcher.matches(member.name)) {
                    FileRow row = FileRow::scanned(
                        member.name, QString::number(member.size),
                        member.time ? DateText::fromDateTime(QDateTime::fromSecsSinceEpoch(*member.time)) : ownTime,
                        inside.shown + member.folder, inside.stored + member.folder);
                    row.archiveMember = true;
                    found.push_back(std::move(row));
                }
    }

    std::vector<NameMatcher> m_matchers;
    FileRowModel &m_rows;
    const bool &m_scanning;
    ProgressSink *m_progress;
    ScanTime m_time;
    ArchiveScan *m_archives;
    EventPump m_pump;
    ScanSkipped m_skipped;
};

} // namespace

QString ScanSkipped::text() const
{
    if (!any())
        return {};
    return QCoreApplication::translate("ScanFiles", "%1个文件夹和%2个文件无法读取，没有列入").arg(folders).arg(files);
}

QString ArchiveScan::text() const
{
    QString text = QCoreApplication::translate("ScanFiles", "%1个压缩文件").arg(listed);
    if (!unreadable.isEmpty())
        text += QCoreApplication::translate("ScanFiles", "，%1个压缩文件无法读取").arg(unreadable.size());
    return text;
}

ScanSkipped ScanFiles(const QString &path, const QStringList &masks, FileRowModel &rows, const bool &scanning,
                      ProgressSink *progress, ScanTime time, ArchiveScan *archives)
{
    if (!scanning || masks.isEmpty() || path.size() < 2 || path.at(1) != u':')
        return {};
    const char letter = Platform::driveLetter(char(path.at(0).toLatin1()));
    if (!letter)
        return {};
    QString shown = path;
    if (!shown.endsWith(u'\\'))
        shown += u'\\';
    // "c:\data\" → "data"; the root "c:\" → "".
    QString relative = shown.mid(3, shown.size() - 4);
    relative.replace(u'\\', u'/');
    Scan scan(masks, rows, scanning, progress, time, archives);
    // The catalogue keeps the folders from the drive's root, without its letter and colon.
    QByteArray native;
    if (archives) {
        native = QFile::encodeName(Platform::instance().nativeRoot(letter));
        if (!relative.isEmpty() && !native.isEmpty())
            native += '/' + QFile::encodeName(relative);
    }
    scan.walk(Platform::instance().openDirectory(letter, relative), {shown, shown.mid(2), native});
    return scan.skipped();
}
