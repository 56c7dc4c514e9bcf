#include "RowChecksums.h"

#include "drives/platform/Platform.h"
#include "store/FileRowModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

// "e:\music\rock\" and "a.mp3" → "music/rock/a.mp3".
QString relativePath(const FileRow &row)
{
    QString folder = row.sub[2].mid(3);
    folder.replace(u'\\', u'/');
    return folder + row.caption;
}

constexpr auto kPumpInterval = std::chrono::milliseconds(25);

} // namespace

QString ImportChecksums::text() const
{
    if (!wanted || unreadable == 0)
        return {};
    return QCoreApplication::translate("RowChecksums", "%1个文件无法读取，没有校验值").arg(unreadable);
}

QString RowChecksums::progressText(int files, qint64 bytes, double seconds)
{
    const double mb = double(bytes) / (1024.0 * 1024.0);
    return QCoreApplication::translate("RowChecksums", "已校验:%1个文件，%2 MB，%3 MB/s")
        .arg(files)
        .arg(mb, 0, 'f', 1)
        .arg(seconds > 0 ? mb / seconds : 0.0, 0, 'f', 1);
}

std::optional<QList<QByteArray>> RowChecksums::compute(char letter, const FileRowModel &rows, const Report &report,
                                                       const Stopped &stopped, ImportChecksums &outcome,
                                                       DigestLimits limits)
{
    QStringList paths;
    QList<int> fileOfRow;
    QHash<QString, int> known;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const QString path = relativePath(rows.row(i));
        auto found = known.constFind(path);
        if (found == known.cend()) {
            found = known.insert(path, int(paths.size()));
            paths.append(path);
        }
        fileOfRow.append(*found);
    }
    QElapsedTimer clock;
    clock.start();
    DigestReader reader([letter] { return Platform::instance().fileSource(letter); }, paths, limits);
    for (;;) {
        const bool over = reader.wait(kPumpInterval);
        report(progressText(reader.filesDone(), reader.bytesRead(), double(clock.elapsed()) / 1000.0));
        QCoreApplication::processEvents();
        if (stopped()) {
            reader.cancel();
            return std::nullopt;
        }
        if (over)
            break;
    }
    outcome.files = int(paths.size());
    outcome.unreadable = reader.unreadableFiles();
    outcome.bytes = reader.bytesRead();
    const QList<QByteArray> digests = reader.results();
    QList<QByteArray> byRow;
    byRow.reserve(fileOfRow.size());
    for (int file : std::as_const(fileOfRow))
        byRow.append(digests.at(file));
    return byRow;
}
