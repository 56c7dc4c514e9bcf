#include "CliSupport.h"

#include "search/SearchIndexBuilder.h"
#include "drives/platform/Platform.h"
#include "store/AppError.h"
#include "store/Catalogue.h"
#include "store/FileRowModel.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace CliSupport {

namespace {
const QStringList kFileFields{u"disc"_s, u"name"_s, u"size"_s, u"date"_s, u"path"_s};

} // namespace

CommandParser::CommandParser(const QString &description, const QString &arguments)
    : catalogue(u"catalogue"_s, QCoreApplication::translate("Cli", "使用这个光盘索引库文件。"),
                QCoreApplication::translate("Cli", "文件"))
    , json(u"json"_s, QCoreApplication::translate("Cli", "以 JSON 输出列表。"))
{
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    parser.addOptions({catalogue, json});
    if (!arguments.isEmpty())
        parser.addPositionalArgument(arguments, QString());
}

std::optional<int> CommandParser::parse(const QStringList &arguments, qsizetype positional)
{
    return parse(arguments, positional, positional);
}

std::optional<int> CommandParser::parse(const QStringList &arguments, qsizetype fewest, qsizetype most)
{
    if (!parser.parse(arguments)) {
        CliOutput::error(parser.errorText());
        return Status::BadUsage;
    }
    if (parser.isSet(u"help"_s)) {
        std::fputs(parser.helpText().toUtf8().constData(), stdout);
        return Status::Done;
    }
    const qsizetype given = parser.positionalArguments().size();
    if (given < fewest || given > most) {
        CliOutput::error(QCoreApplication::translate("Cli", "参数不对；使用 --help 查看用法。"));
        return Status::BadUsage;
    }
    return std::nullopt;
}

CliOutput CommandParser::output() const
{
    return CliOutput(parser.isSet(json));
}

int withCatalogue(const CommandParser &command, TdmQL::Access access, const std::function<int(CliCatalogue &)> &work)
{
    CliCatalogue catalogue;
    if (const Status status = catalogue.open(command.parser.value(command.catalogue), access))
        return status;
    try {
        return work(catalogue);
    } catch (const AppError &error) {
        CliOutput::error(error.message());
        return Status::CatalogueFailed;
    }
}

std::optional<FileRowModel *> discFiles(TdmQL &dm, const QString &name, FileRowModel &rows)
{
    const std::optional<DiscRecord> disc = dm.catalogue().discNamed(name);
    if (!disc) {
        CliOutput::error(QCoreApplication::translate("Cli", "找不到光盘“%1”的记录").arg(name));
        return std::nullopt;
    }
    rows.showKeys(dm.catalogue(), {{qint32(disc->code), disc->name}}, dm.catalogue().fileKeysOfDisc(disc->code));
    return &rows;
}

std::optional<FileRowModel *> searchHits(TdmQL &dm, const QString &text, const QString &columns, FileRowModel &rows,
                                         bool pinyin)
{
    static const QStringList names{u"name"_s, u"size"_s, u"date"_s, u"path"_s};
    QList<FileSearchRequest::Column> searched;
    for (const QString &column : columns.split(u',', Qt::SkipEmptyParts)) {
        const qsizetype i = names.indexOf(column.trimmed());
        if (i < 0) {
            CliOutput::error(QCoreApplication::translate("Cli", "--in 只接受 name、size、date、path：%1").arg(column));
            return std::nullopt;
        }
        const auto found = FileSearchRequest::Column(i);
        if (!searched.contains(found))
            searched.append(found);
    }
    // The columns in the search dialog's order, whatever the order --in names them in.
    std::sort(searched.begin(), searched.end());
    TQuery &query = *dm.aqryQuery;
    dm.catalogue().openSearch(query, FileSearchRequest::forText(text, searched, pinyin));
    std::vector<qint64> keys = dm.catalogue().hitKeys(query);
    query.Close();
    rows.showKeys(dm.catalogue(), dm.catalogue().discNames(), std::move(keys));
    return &rows;
}

int listFiles(const CommandParser &command, const FileRowModel &rows)
{
    // The rows stream from the catalogue in list order, a batch at a time.
    command.output().listing(kFileFields, [&](const CliOutput::RecordSink &take) {
        rows.forEachRow([&](const FileRow &row) {
            take({row.caption, row.sub[0], row.sub[1], row.sub[2], row.sub[3]});
            return true;
        });
    });
    return rows.rowCount() > 0 ? Status::Done : Status::NothingFound;
}

QCommandLineOption inOption()
{
    return {u"in"_s, QCoreApplication::translate("Cli", "在这些列中查找：name,size,date,path（默认 name）。"),
            QCoreApplication::translate("Cli", "列"), u"name"_s};
}

int finished(int status)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    // A command that failed on a write has said so already.
    if (status != Status::CatalogueFailed)
        CliOutput::error(QString::fromLocal8Bit(std::strerror(errno)));
    return Status::CatalogueFailed;
}

// The search index and the pinyin brought up to date, as the window does after an import.
bool updateIndex(CliCatalogue &catalogue)
{
    TerminalProgress progress;
    if (SearchIndexBuilder::buildAll(catalogue.dm().aConQl.connectionName(), progress))
        return true;
    CliOutput::error(QCoreApplication::translate("Cli", "这个光盘索引库没有搜索索引"));
    return false;
}

} // namespace CliSupport

std::optional<DriveRoot> CliSupport::driveNamed(const QString &drive)
{
    const char letter = drive.isEmpty() ? 0 : Platform::driveLetter(drive.at(0).toLatin1());
    if (letter && Platform::instance().letters().contains(letter))
        return DriveRoot::ofDrive(letter);
    CliOutput::error(QCoreApplication::translate("Cli", "没有这个驱动器：%1").arg(drive));
    return std::nullopt;
}

std::optional<DriveRoot> CliSupport::folderNamed(const QString &folder)
{
    const std::optional<DriveRoot> where = DriveRoot::ofFolder(folder);
    if (!where)
        CliOutput::error(QCoreApplication::translate("Cli", "不是可以读的文件夹：%1").arg(folder));
    return where;
}

std::optional<DriveRoot> CliSupport::imageNamed(const QString &image)
{
    const std::optional<char> letter = Platform::instance().attachImage(QFileInfo(image).absoluteFilePath());
    if (letter)
        return DriveRoot::ofDrive(*letter);
    CliOutput::error(QCoreApplication::translate("Cli", "无法载入光盘映像：%1").arg(image));
    return std::nullopt;
}
