#include "ScanFiles.h"

#include "drives/FileTime.h"
#include "drives/platform/NameMatcher.h"
#include "drives/platform/Platform.h"
#include "store/DateText.h"
#include "store/FileRowModel.h"
#include "store/ProgressSink.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

class Scan {
public:
    Scan(char letter, const QStringList &masks, FileRowModel &rows, const bool &scanning, ProgressSink *progress,
         ScanTime time)
        : m_letter(letter), m_rows(rows), m_scanning(scanning), m_progress(progress), m_time(time)
    {
        for (const QString &mask : masks)
            m_matchers.emplace_back(mask);
    }

    // relative: the folder below the drive's root ('/'-separated); shown: the same folder
    // as the rows show it, in letter form ending with a backslash.
    void visit(const QString &relative, const QString &shown)
    {
        if (!running())
            return;
        m_pump.pump();
        const auto entries = Platform::instance().listDirectory(m_letter, relative);
        if (!entries)
            return;
        for (const DirEntry &entry : *entries)
            if (entry.isDir && !entry.hidden && !entry.otherDevice)
                visit(relative.isEmpty() ? entry.name : relative + u'/' + entry.name,
                      shown + entry.name + u'\\');
        // A walk that was stopped below adds nothing more on its way back up.
        if (running())
            addFiles(*entries, shown);
    }

private:
    bool running() const { return m_scanning && !(m_progress && m_progress->StopRequested()); }
    quint64 timeOf(const DirEntry &entry) const
    {
        return m_time == ScanTime::Modified ? entry.modificationTime : entry.creationTime;
    }

    void addFiles(const QList<DirEntry> &entries, const QString &shown)
    {
        std::vector<FileRow> found;
        for (const NameMatcher &matcher : m_matchers)
            for (const DirEntry &entry : entries)
                if (!entry.isDir && matcher.matches(entry.name))
                    found.push_back(FileRow{entry.name,
                                            {QString::number(entry.size),
                                             DateText::fromDateTime(FileTimeToDateTime(timeOf(entry))), shown,
                                             QString()}});
        m_rows.appendRows(std::move(found));
    }

    char m_letter;
    std::vector<NameMatcher> m_matchers;
    FileRowModel &m_rows;
    const bool &m_scanning;
    ProgressSink *m_progress;
    ScanTime m_time;
    EventPump m_pump;
};

} // namespace

void ScanFiles(const QString &path, const QStringList &masks, FileRowModel &rows, const bool &scanning,
               ProgressSink *progress, ScanTime time)
{
    if (!scanning || masks.isEmpty() || path.size() < 2 || path.at(1) != u':')
        return;
    const char letter = Platform::driveLetter(char(path.at(0).toLatin1()));
    if (!letter)
        return;
    QString shown = path;
    if (!shown.endsWith(u'\\'))
        shown += u'\\';
    // "c:\data\" → "data"; the root "c:\" → "".
    QString relative = shown.mid(3, shown.size() - 4);
    relative.replace(u'\\', u'/');
    Scan(letter, masks, rows, scanning, progress, time).visit(relative, shown);
}
