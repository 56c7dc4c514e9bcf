#pragma once

#include <QString>

class FileRowModel;
class ProgressSink;
class QIODevice;

// Writes a file list as tab-separated GB18030 text (UTF-8 when asked): a header line of
// the column captions without their sort marks, then one line per row in the list's
// order, every cell followed by a TAB and every line by CR LF.
class FileListExport {
public:
    enum class Encoding { Gb18030, Utf8 };

    // Writes until the end or the stop request; returns the rows written. A write error
    // throws AppError with the device's message; what was written before stays.
    static int write(const FileRowModel &rows, QIODevice &device, ProgressSink &progress,
                     Encoding encoding = Encoding::Gb18030);
    // Writes to the file of that name. A regular file (or a new one) is written through a
    // temporary file beside it, which replaces it only once every row asked for was written:
    // a failure leaves the previous file as it was. Anything else has no content to keep and
    // is written where it is: a device or FIFO is never replaced by a file, and a name that
    // leads to an open descriptor (/dev/stdout, /dev/fd/N) writes to what that descriptor
    // is, after what it holds. Returns the rows written; throws AppError as write does.
    static int writeFile(const QString &fileName, const FileRowModel &rows, ProgressSink &progress,
                         Encoding encoding = Encoding::Gb18030);

    // A sub-item as written: blanks and control characters removed at both ends.
    static QString trimmed(const QString &cell);
    // Every TAB, CR and LF inside a cell becomes a blank, so each row stays one line.
    static QString oneLine(const QString &cell);
};
