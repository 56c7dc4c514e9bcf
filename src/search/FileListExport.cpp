#include "FileListExport.h"

#include "Gb18030Encoder.h"
#include "store/AppError.h"
#include "store/FileRowModel.h"
#include "store/ProgressSink.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void flush(QIODevice &device, QByteArray &buffer)
{
    for (qsizetype done = 0; done < buffer.size();) {
        const qint64 written = device.write(buffer.constData() + done, buffer.size() - done);
        if (written <= 0)
            throw AppError(device.errorString());
        done += written;
    }
    buffer.clear();
}

// True when the name, or a link on its way, lies in /proc: it stands for an open descriptor
// (/dev/stdout leads to /proc/self/fd/1), which must be written, not replaced.
bool namesOpenDescriptor(const QString &fileName)
{
    QFileInfo hop(fileName);
    for (int depth = 0; depth < 40; ++depth) {
        if (QFileInfo(hop.absolutePath()).canonicalFilePath().startsWith(u"/proc/"_s))
            return true;
        if (!hop.isSymLink())
            return false;
        hop.setFile(hop.symLinkTarget());
    }
    return false;
}

bool isExistingNonRegular(const QString &fileName)
{
    struct stat status {};
    return ::stat(QFile::encodeName(fileName).constData(), &status) == 0 && !S_ISREG(status.st_mode);
}

// The cell without blanks and control characters at both ends.
QStringView trimmedView(QStringView cell)
{
    qsizetype first = 0;
    qsizetype last = cell.size();
    while (first < last && cell.at(first).unicode() <= u' ')
        ++first;
    while (last > first && cell.at(last - 1).unicode() <= u' ')
        --last;
    return cell.sliced(first, last - first);
}

// Appends a cell as one line (see FileListExport::oneLine) and its TAB.
void appendCell(QString &lines, QStringView cell)
{
    const qsizetype at = lines.size();
    lines += cell;
    for (qsizetype i = at; i < lines.size(); ++i)
        if (lines.at(i) == u'\t' || lines.at(i) == u'\r' || lines.at(i) == u'\n')
            lines[i] = u' ';
    lines += u'\t';
}

// Appends the row's line without a text of its own for each cell: a million rows make
// a million lines.
void appendRowLine(QString &lines, const FileRow &row)
{
    appendCell(lines, row.caption);
    for (const QString &cell : row.sub)
        appendCell(lines, trimmedView(cell));
    lines += u"\r\n"_s;
}

} // namespace

QString FileListExport::trimmed(const QString &cell)
{
    return trimmedView(cell).toString();
}

QString FileListExport::oneLine(const QString &cell)
{
    if (!cell.contains(u'\t') && !cell.contains(u'\r') && !cell.contains(u'\n'))
        return cell;
    QString line = cell;
    for (QChar &c : line)
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    return line;
}

int FileListExport::write(const FileRowModel &rows, QIODevice &device, ProgressSink &progress, Encoding encoding)
{
    Gb18030Encoder gb18030;
    const auto encode = [&](QStringView text, QByteArray &buffer) {
        if (encoding == Encoding::Utf8)
            buffer += text.toUtf8();
        else
            gb18030.encode(text, buffer);
    };
    QByteArray buffer;
    QString header;
    for (int column = 0; column < rows.columnCount(); ++column)
        header += oneLine(rows.plainCaption(column)) + u'\t';
    encode(header + u"\r\n"_s, buffer);
    progress.SetStatusText(QString());
    progress.SetProgressRange(rows.rowCount(), 0);
    int k = 0;
    const QString counted = QCoreApplication::translate("FileListExport", "已导出%1条记录");
    // The rows come from the catalogue in list order, a batch at a time.
    // The lines are encoded and written some 64 KiB at a time.
    QString lines;
    const auto write = [&] {
        encode(lines, buffer);
        lines.clear();
        flush(device, buffer);
    };
    rows.forEachRow([&](const FileRow &row) {
        appendRowLine(lines, row);
        if (lines.size() >= 32 * 1024)
            write();
        ++k;
        progress.ReportProgress(counted.arg(k), k);
        return !progress.StopRequested();
    });
    write();
    return k;
}

int FileListExport::writeFile(const QString &fileName, const FileRowModel &rows, ProgressSink &progress,
                              Encoding encoding)
{
    if (namesOpenDescriptor(fileName) || isExistingNonRegular(fileName)) {
        const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            throw AppError(QString::fromLocal8Bit(std::strerror(errno)));
        QFile device;
        if (!device.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            throw AppError(device.errorString());
        }
        return write(rows, device, progress, encoding);
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(file.errorString());
    const int written = write(rows, file, progress, encoding);
    if (!file.commit())
        throw AppError(file.errorString());
    return written;
}
