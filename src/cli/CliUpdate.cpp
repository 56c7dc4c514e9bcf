// The update command: a disc or folder brought up to date with its source in place.
#include "CliCommands.h"

#include "CliSupport.h"
#include "import/DiscUpdate.h"
#include "store/Catalogue.h"
#include "store/ImportRecord.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace CliSupport;

namespace {

// One line for each file of the difference: what happened to it, its folder, name, size and date.
void listDifference(const CommandParser &command, const DiscUpdate &update)
{
    const DiscDifference &difference = update.difference();
    QList<QStringList> records;
    for (const int row : difference.added) {
        const FileRecord now = update.scannedRecord(row);
        records.append({u"added"_s, now.folder, now.name, now.size, now.date});
    }
    for (const StoredFile &file : difference.removed)
        records.append({u"removed"_s, file.record.folder, file.record.name, file.record.size, file.record.date});
    for (const DiscDifference::Change &change : difference.changed) {
        const FileRecord now = update.scannedRecord(change.scanRow);
        records.append({u"changed"_s, now.folder, now.name, now.size, now.date});
    }
    command.output().listing({u"change"_s, u"path"_s, u"name"_s, u"size"_s, u"date"_s}, records);
}

int updateOne(const CommandParser &command, CliCatalogue &catalogue, const DiscRecord &disc, bool dryRun)
{
    DiscUpdate update(catalogue.dm(), disc.code);
    TerminalProgress progress;
    switch (update.prepare(progress)) {
    case DiscUpdate::Result::NoRecord:
        CliOutput::error(QCoreApplication::translate("Cli", "%1：没有导入记录，无法更新").arg(disc.name));
        return CliCatalogue::NothingFound;
    case DiscUpdate::Result::NoSource:
        CliOutput::error(QCoreApplication::translate("Cli", "%1：找不到光盘的来源：%2")
                             .arg(disc.name, DiscUpdate::sourceText(*update.record())));
        return CliCatalogue::NothingFound;
    case DiscUpdate::Result::Stopped:
        return CliCatalogue::NothingFound;
    case DiscUpdate::Result::Ready:
        break;
    }
    const QString counts = update.difference().countsText();
    // A folder that could not be read would make its files look removed: with no one to
    // look at the difference, their records stay until the scan reads everything.
    if (update.skipped().any() && !update.difference().removed.isEmpty() && !dryRun) {
        CliOutput::error(QCoreApplication::translate("Cli", "%1：%2，没有更新（%3）")
                             .arg(disc.name, update.skipped().text(), counts));
        return CliCatalogue::NothingFound;
    }
    if (update.skipped().any())
        CliOutput::error(QCoreApplication::translate("Cli", "%1：%2").arg(disc.name, update.skipped().text()));
    if (dryRun) {
        listDifference(command, update);
        CliOutput::note(QCoreApplication::translate("Cli", "%1：%2（没有写入）").arg(disc.name, counts));
        return CliCatalogue::Done;
    }
    if (!update.difference().isEmpty())
        update.apply(progress);
    CliOutput::note(QCoreApplication::translate("Cli", "完成更新：%1：%2").arg(disc.name, counts));
    return CliCatalogue::Done;
}

// Every folder import whose volume is there; the others are named and passed over.
int updateFolders(const CommandParser &command, CliCatalogue &catalogue, bool dryRun)
{
    const QString connection = catalogue.dm().aConQl.connectionName();
    int worst = CliCatalogue::Done;
    for (const qint64 code : ImportRecordStore::folderDiscs(connection)) {
        const std::optional<DiscRecord> disc = catalogue.dm().catalogue().disc(code);
        const std::optional<ImportRecord> record = ImportRecordStore::read(connection, code);
        if (!disc || !record)
            continue;
        if (!DiscUpdate::findSource(*record)) {
            CliOutput::note(QCoreApplication::translate("Cli", "跳过 %1：找不到光盘的来源：%2")
                                .arg(disc->name, DiscUpdate::sourceText(*record)));
            continue;
        }
        worst = std::max(worst, updateOne(command, catalogue, *disc, dryRun));
    }
    return worst;
}

} // namespace

int CliCommands::update(const QStringList &arguments)
{
    CommandParser command(QCoreApplication::translate(
                              "Cli", "按导入记录重新扫描光盘或文件夹，在原处更新它的文件（光盘的编号、属性和未变文件的校验值都保留）。"),
                          QCoreApplication::translate("Cli", "[光盘名]"));
    const QCommandLineOption dryRun(u"dry-run"_s,
                                    QCoreApplication::translate("Cli", "只列出新增、删除和更改的文件，不写入。"));
    const QCommandLineOption allFolders(
        u"all-folders"_s, QCoreApplication::translate("Cli", "更新所有从文件夹导入、它的卷现在已挂载的光盘。"));
    command.parser.addOptions({dryRun, allFolders});
    if (const auto end = command.parse(arguments, 0, 1))
        return *end;
    const QCommandLineParser &p = command.parser;
    if (p.isSet(allFolders) == !p.positionalArguments().isEmpty()) {
        CliOutput::error(QCoreApplication::translate("Cli", "需要一个光盘名，或者 --all-folders；使用 --help 查看用法。"));
        return Status::BadUsage;
    }
    const auto access = p.isSet(dryRun) ? TdmQL::Access::ReadOnly : TdmQL::Access::ReadWrite;
    return withCatalogue(command, access, [&](CliCatalogue &catalogue) {
        int status = Status::Done;
        if (p.isSet(allFolders)) {
            status = updateFolders(command, catalogue, p.isSet(dryRun));
        } else {
            const QString name = p.positionalArguments().first();
            const std::optional<DiscRecord> disc = catalogue.dm().catalogue().discNamed(name);
            if (!disc) {
                CliOutput::error(QCoreApplication::translate("Cli", "找不到光盘“%1”的记录").arg(name));
                return int(Status::NothingFound);
            }
            status = updateOne(command, catalogue, *disc, p.isSet(dryRun));
        }
        if (!p.isSet(dryRun))
            updateIndex(catalogue);
        return status;
    });
}
