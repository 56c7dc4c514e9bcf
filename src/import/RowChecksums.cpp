#include "RowChecksums.h"

#include "drives/platform/Platform.h"
#include "store/FileRowModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(25);

} // namespace

QString ImportChecksums::text() const
{
    if (!wanted || unreadable == 0)
        return {};
    return QCoreApplication::translate("RowChecksums", "%1个文件无法读取，没有校验值").arg(unreadable);
}

QString RowChecksums::relativePath(const FileRow &row)
{
    QString folder = row.sub[2].mid(3);
    folder.replace(u'\\', u'/');
    return folder + row.caption;
}

QString RowChecksums::progressText(int files, qint64 bytes, double seconds)
{
    const double mb = double(bytes) / (1024.0 * 1024.0);
    return QCoreApplication::translate("RowChecksums", "已校验:%1个文件，%2 MB，%3 MB/s")
        .arg(files)
        .arg(mb, 0, 'f', 1)
        .arg(seconds > 0 ? mb / seconds : 0.0, 0, 'f', 1);
}

std::optional<RowChecksums::Reading> RowChecksums::read(char letter, const QStringList &paths, DigestKind kind,
                                                        const Report &report, const Stopped &stopped,
                                                        DigestLimits limits)
{
    QElapsedTimer clock;
    clock.start();
    DigestReader reader([letter] { return Platform::instance().fileSource(letter); }, paths, limits, kind);
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
    return Reading{reader.results(), reader.unreadableFiles(), reader.bytesRead()};
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
    const std::optional<Reading> reading = read(letter, paths, DigestKind::Sha256, report, stopped, limits);
    if (!reading)
        return std::nullopt;
    outcome.files = int(paths.size());
    outcome.unreadable = reading->unreadable;
    outcome.bytes = reading->bytes;
    const QList<QByteArray> &digests = reading->results;
    QList<QByteArray> byRow;
    byRow.reserve(fileOfRow.size());
    for (int file : std::as_const(fileOfRow))
        byRow.append(digests.at(file));
    return byRow;
}
