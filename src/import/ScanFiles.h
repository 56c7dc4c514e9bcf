#pragma once

#include <QString>
#include <QStringList>

class FileRowModel;
class ProgressSink;

// Which time of a file the rows show: when the file was created on the disk it lies on
// (for files copied there, the time of the copy), or when its content was last written.
enum class ScanTime { Created, Modified };

// Walks the tree under path (in letter form: "e:\" or "c:\music") and appends a row for
// every file that matches one of the masks: the name, the size, the creation time (or
// the last-write time) as date text and the folder in letter form ending with a backslash. Sub-directories come
// first (each complete, in the order the drive lists them), then the folder's own files
// mask by mask; a file matching two masks is listed twice. Hidden directories and
// directories of other file systems are not entered; symbolic links are never followed
// into directories; what cannot be read adds nothing. The walk ends at the next directory
// once scanning is cleared (or progress asks to stop). Pending events run now and then.
void ScanFiles(const QString &path, const QStringList &masks, FileRowModel &rows, const bool &scanning,
               ProgressSink *progress, ScanTime time = ScanTime::Created);
