// The commands that write: import of a drive, folder or disc images, and export.
#include "CliCommands.h"

#include "CliSupport.h"
#include "drives/DriveUtilities.h"
#include "import/ArchiveProbe.h"
#include "import/DiscImport.h"
#include "import/DriveRoot.h"
#include "import/RowChecksums.h"
#include "search/FileListExport.h"
#include "store/AppError.h"
#include "store/Catalogue.h"
#include "store/FileRowModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace CliSupport;

namespace {

// The masks of the category of that name, in the order the category editor lists them.
std::optional<QStringList> categoryMasks(TdmQL &dm, const QString &category)
{
    const std::optional<CategoryRecord> found = dm.catalogue().categoryNamed(category);
    if (!found) {
        CliOutput::error(QCoreApplication::translate("Cli", "找不到扩展名类别“%1”").arg(category));
        return std::nullopt;
    }
    return found->masks;
}

// What one import reads: a drive letter and the folder below its root in letter form.
struct Source {
    char letter = 0;
    QString root;
    QString shown; // how the source is named in messages
    ImportRecord::Source kind = ImportRecord::Source::Drive;
};

std::optional<Source> sourceOf(const std::optional<DriveRoot> &where, const QString &shown, ImportRecord::Source kind)
{
    return where ? std::optional(Source{where->letter, where->root, shown, kind}) : std::nullopt;
}

// What importOne is asked to list besides the files: their times, and the files inside
// archives (--archives), and whether it computes checksums (--checksums).
struct ImportChoices {
    ScanTime time = ScanTime::Created;
    bool archives = false;
    bool checksums = false;
};

// The archives a scan looked into, for standard error: their number, and each that could
// not be read.
void reportArchives(const Source &source, const ArchiveScan &archives)
{
    CliOutput::note(QCoreApplication::translate("Cli", "%1：%2").arg(source.shown, archives.text()));
    for (const QString &unreadable : archives.unreadable)
        CliOutput::error(QCoreApplication::translate("Cli", "无法读取压缩文件 %1").arg(unreadable));
}

int importOne(CliCatalogue &catalogue, const Source &source, const QString &category, const QStringList &masks,
              QString name, const ImportChoices &choices)
{
    if (name.isNull()) {
        RDriveInfo drive;
        GetDriveInfo(source.letter, drive);
        name = drive.DiskLabel;
    }
    if (name.trimmed().isEmpty()) {
        CliOutput::error(QCoreApplication::translate("Cli", "%1：光盘名不能为空").arg(source.shown));
        return Status::NothingFound;
    }
    TerminalProgress progress;
    ScanSkipped skipped;
    ImportChecksums checksums{choices.checksums};
    ArchiveProbe probe;
    ArchiveScan archives{probe};
    DiscImport::Options options{choices.time, &skipped, source.kind, category, &checksums};
    if (choices.archives)
        options.archives = &archives;
    const DiscImport::Result result = DiscImport::run(catalogue.dm(), catalogue.comm(), source.letter, source.root,
                                                      masks, name, progress, options);
    if (choices.archives)
        reportArchives(source, archives);
    if (skipped.any())
        CliOutput::error(QCoreApplication::translate("Cli", "%1：%2").arg(source.shown, skipped.text()));
    switch (result) {
    case DiscImport::Result::NameTaken:
        CliOutput::error(QCoreApplication::translate("Cli", "%1：光盘索引库中已经有该名称的光盘了!").arg(name));
        return Status::NothingFound;
    case DiscImport::Result::NoFiles:
        CliOutput::error(QCoreApplication::translate("Cli", "%1：没有符合类别的文件").arg(source.shown));
        return Status::NothingFound;
    case DiscImport::Result::NotStored: // the engine's message is on standard error
        return Status::CatalogueFailed;
    case DiscImport::Result::Stored:
        break;
    }
    CliOutput::note(QCoreApplication::translate("Cli", "完成导入：%1").arg(name));
    if (checksums.wanted)
        CliOutput::note(checksums.unreadable > 0
                            ? QCoreApplication::translate("Cli", "已校验%1个文件；%2").arg(checksums.files).arg(checksums.text())
                            : QCoreApplication::translate("Cli", "已校验%1个文件").arg(checksums.files));
    return Status::Done;
}

} // namespace

int CliCommands::import(const QStringList &arguments)
{
    CommandParser command(
        QCoreApplication::translate("Cli", "导入一个驱动器、文件夹或光盘映像（可以给出多个映像，依次导入）。"),
        QString());
    const QCommandLineOption name(u"name"_s, QCoreApplication::translate("Cli", "光盘名。"),
                                  QCoreApplication::translate("Cli", "名称"));
    const QCommandLineOption fromLabel(u"name-from-label"_s,
                                       QCoreApplication::translate("Cli", "用光盘的卷标作光盘名。"));
    const QCommandLineOption category(u"category"_s, QCoreApplication::translate("Cli", "扩展名类别（例如 音乐）。"),
                                      QCoreApplication::translate("Cli", "类别"));
    const QCommandLineOption drive(u"drive"_s, QCoreApplication::translate("Cli", "驱动器盘符（例如 D）。"),
                                   QCoreApplication::translate("Cli", "盘符"));
    const QCommandLineOption folder(u"folder"_s, QCoreApplication::translate("Cli", "文件夹。"),
                                    QCoreApplication::translate("Cli", "文件夹"));
    const QCommandLineOption image(u"image"_s, QCoreApplication::translate("Cli", "光盘映像文件（可以多次给出）。"),
                                   QCoreApplication::translate("Cli", "映像"));
    const QCommandLineOption time(
        u"time"_s, QCoreApplication::translate("Cli", "文件时间：created 创建时间（默认），modified 修改时间。"),
        u"created|modified"_s, u"created"_s);
    const QCommandLineOption checksums(
        u"checksums"_s, QCoreApplication::translate("Cli", "计算校验值：读出每个文件，保存它的 SHA-256。"));
    const QCommandLineOption archives(u"archives"_s,
                                      QCoreApplication::translate("Cli", "包括压缩文件中的文件（zip、7z、rar、tar 等）。"));
    command.parser.addOptions({name, fromLabel, category, drive, folder, image, time, checksums, archives});
    if (const auto end = command.parse(arguments, 0))
        return *end;
    const QCommandLineParser &p = command.parser;
    const int sources = int(p.isSet(drive)) + int(p.isSet(folder)) + int(!p.values(image).isEmpty());
    const qsizetype count = p.isSet(image) ? p.values(image).size() : 1;
    if (sources != 1 || !p.isSet(category) || p.isSet(name) == p.isSet(fromLabel) || (count > 1 && p.isSet(name))) {
        CliOutput::error(
            QCoreApplication::translate("Cli", "需要 --category、--name 或 --name-from-label（多个映像时只能用后者），"
                                               "以及 --drive、--folder、--image 中的一种。使用 --help 查看用法。"));
        return Status::BadUsage;
    }
    if (p.value(time) != u"created"_s && p.value(time) != u"modified"_s) {
        CliOutput::error(QCoreApplication::translate("Cli", "--time 只能是 created 或 modified"));
        return Status::BadUsage;
    }
    const ImportChoices choices{p.value(time) == u"modified"_s ? ScanTime::Modified : ScanTime::Created,
                                p.isSet(archives), p.isSet(checksums)};
    return withCatalogue(command, TdmQL::Access::ReadWrite, [&](CliCatalogue &catalogue) {
        const std::optional<QStringList> masks = categoryMasks(catalogue.dm(), p.value(category));
        if (!masks)
            return int(Status::NothingFound);
        const QString discName = p.isSet(name) ? p.value(name) : QString();
        int worst = Status::Done;
        if (p.isSet(drive) || p.isSet(folder)) {
            const auto source = p.isSet(drive)
                                    ? sourceOf(driveNamed(p.value(drive)), p.value(drive), ImportRecord::Source::Drive)
                                    : sourceOf(folderNamed(p.value(folder)), p.value(folder), ImportRecord::Source::Folder);
            worst = source ? importOne(catalogue, *source, p.value(category), *masks, discName, choices) : int(Status::NothingFound);
        }
        for (const QString &file : p.values(image)) {
            const auto source = sourceOf(imageNamed(file), file, ImportRecord::Source::Image);
            worst = std::max(worst, source ? importOne(catalogue, *source, p.value(category), *masks, discName, choices)
                                           : int(Status::NothingFound));
        }
        // Once for all the discs of the command, after their transactions.
        updateIndex(catalogue);
        return worst;
    });
}

int CliCommands::index(const QStringList &arguments)
{
    CommandParser command(QCoreApplication::translate("Cli", "为整个光盘索引库建立搜索索引和拼音（导入后自动进行）。"),
                          QString());
    if (const auto end = command.parse(arguments, 0))
        return *end;
    return withCatalogue(command, TdmQL::Access::ReadWrite, [&](CliCatalogue &catalogue) {
        return updateIndex(catalogue) ? int(Status::Done) : int(Status::CatalogueFailed);
    });
}

int CliCommands::exportList(const QStringList &arguments)
{
    CommandParser command(
        QCoreApplication::translate("Cli", "把一张光盘的文件或查找结果导出为文本文件（与“导出”相同的格式）。"),
        QCoreApplication::translate("Cli", "[光盘名]"));
    const QCommandLineOption searchText(u"search"_s, QCoreApplication::translate("Cli", "导出这段文字的查找结果。"),
                                        QCoreApplication::translate("Cli", "文字"));
    const QCommandLineOption output({u"o"_s, u"output"_s},
                                    QCoreApplication::translate("Cli", "写入这个文件（默认写到标准输出）。"),
                                    QCoreApplication::translate("Cli", "文件"));
    const QCommandLineOption encoding(u"encoding"_s, QCoreApplication::translate("Cli", "gb18030（默认）或 utf-8。"),
                                      QCoreApplication::translate("Cli", "编码"), u"gb18030"_s);
    command.parser.addOptions({searchText, output, encoding, inOption()});
    const QCommandLineParser &p = command.parser;
    if (const auto end = command.parse(arguments, 0, 1))
        return *end;
    if (p.isSet(searchText) == !p.positionalArguments().isEmpty()) {
        CliOutput::error(QCoreApplication::translate("Cli", "需要一个光盘名，或者 --search；使用 --help 查看用法。"));
        return Status::BadUsage;
    }
    const QString encodingName = p.value(encoding).toLower();
    if (encodingName != u"gb18030"_s && encodingName != u"utf-8"_s && encodingName != u"utf8"_s) {
        CliOutput::error(QCoreApplication::translate("Cli", "--encoding 只接受 gb18030 或 utf-8"));
        return Status::BadUsage;
    }
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        FileRowModel rows;
        // The file list's column headers, as the window's export writes them.
        rows.setHeaderCaptions(
            {QCoreApplication::translate("CliColumns", "光盘名"), QCoreApplication::translate("CliColumns", "文件名"),
             QCoreApplication::translate("CliColumns", "大小"), QCoreApplication::translate("CliColumns", "时间"),
             QCoreApplication::translate("CliColumns", "路径")});
        const bool found = p.isSet(searchText)
                               ? searchHits(catalogue.dm(), p.value(searchText), p.value(u"in"_s), rows).has_value()
                               : discFiles(catalogue.dm(), p.positionalArguments().value(0), rows).has_value();
        if (!found)
            return int(Status::NothingFound);
        const auto format =
            encodingName == u"gb18030"_s ? FileListExport::Encoding::Gb18030 : FileListExport::Encoding::Utf8;
        TerminalProgress progress;
        if (!p.isSet(output)) {
            // Unbuffered, so that every write's failure (a full disk) is seen.
            QFile out;
            if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
                throw AppError(out.errorString());
            FileListExport::write(rows, out, progress, format);
            return rows.rowCount() > 0 ? int(Status::Done) : int(Status::NothingFound);
        }
        FileListExport::writeFile(p.value(output), rows, progress, format);
        std::fprintf(stderr, "%s\n",
                     QCoreApplication::translate("Cli", "共导出%1条记录").arg(rows.rowCount()).toUtf8().constData());
        return rows.rowCount() > 0 ? int(Status::Done) : int(Status::NothingFound);
    });
}
