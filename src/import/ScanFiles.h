#pragma once

#include <QString>
#include <QStringList>

class ArchiveProbe;
class FileRowModel;
class ProgressSink;

// Which time of a file the rows show: when the file was created on the disk it lies on
// (for files copied there, the time of the copy), or when its content was last written.
enum class ScanTime { Created, Modified };
// What a scan passed over because it could not read it: folders that could not be opened
// or listed (or lay deeper than a walk goes), and entries of a listed folder that could not
// be examined.
struct ScanSkipped {
    int folders = 0;
    int files = 0;
    bool any() const { return folders > 0 || files > 0; }
    // "n 个文件夹和 m 个文件无法读取" for the messages after an import; empty when none.
    QString text() const;
};

// A scan that looks into archives as well (包括压缩文件中的文件): the probe that lists
// them, and what came of it.
struct ArchiveScan {
    explicit ArchiveScan(ArchiveProbe &probe)
        : probe(probe)
    {
    }
    ArchiveProbe &probe;
    int listed = 0;
    // Each archive that could not be read, in letter form with the reason ("g:\a.zip: …").
    QStringList unreadable;
    // "m个压缩文件，k个压缩文件无法读取" for the messages after an import.
    QString text() const;
};

// The deepest level below the root a scan enters: each level holds its directory open.
inline constexpr int kScanDepth = 256;

// Walks the tree under path (in letter form: "e:\" or "c:\music") and appends a row for
// every file that matches one of the masks: the name, the size, the creation time (or
// the last-write time) as date text and the folder in letter form ending with a backslash. Sub-directories come
// first (each complete, in the order the drive lists them), then the folder's own files
// mask by mask; a file matching two masks is listed twice. Hidden directories and
// directories of other file systems are not entered; symbolic links are never followed
// into directories; what cannot be read adds nothing and is counted. Sub-directories are
// opened from their parents (Platform::openDirectory), so the walk goes kScanDepth levels
// deep whatever the length of the path. The walk ends at the next directory once scanning
// is cleared (or progress asks to stop). Pending events run now and then.
// With archives, every file whose name ends as an archive's does is listed by the probe
// after the folder's own files, and its members that match a mask become rows marked as
// members: the name of their own, the size the archive states, their modification time
// (the archive's time where they have none), the folder with the archive's name and the
// member's folder after it ("g:\备份\照片.zip\夏天\"). An archive that cannot be read
// adds no member and is counted; it is still listed as a file when its name matches.
ScanSkipped ScanFiles(const QString &path, const QStringList &masks, FileRowModel &rows, const bool &scanning,
                      ProgressSink *progress, ScanTime time = ScanTime::Created, ArchiveScan *archives = nullptr);
