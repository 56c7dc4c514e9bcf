#include "CliCommands.h"

#include <QCoreApplication>

#include "CliDiscDetails.h"
#include "CliVerify.h"
#include "CliSupport.h"
#include "store/Catalogue.h"
#include "store/FileRowModel.h"

using namespace Qt::StringLiterals;
using namespace CliSupport;

int CliCommands::discs(const QStringList &arguments)
{
    CommandParser command(QCoreApplication::translate("Cli", "列出光盘：名称、卷标、序列号、文件数。"), QString());
    command.parser.addOptions(CliDiscDetails::discsOptions() + CliVerify::discsOptions());
    if (const auto end = command.parse(arguments, 0))
        return *end;
    if (const auto due = CliVerify::dueDiscs(command))
        return *due;
    if (const auto narrowed = CliDiscDetails::narrowedDiscs(command))
        return *narrowed;
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        QList<QStringList> records;
        for (const DiscSummary &summary : catalogue.dm().catalogue().discSummaries())
            records.append(
                {summary.disc.name, summary.disc.label, summary.disc.serial, QString::number(summary.files)});
        command.output().listing({u"name"_s, u"label"_s, u"serial"_s, u"files"_s}, records);
        return int(Status::Done);
    });
}

int CliCommands::files(const QStringList &arguments)
{
    CommandParser command(QCoreApplication::translate("Cli", "列出一张光盘的文件：光盘名、文件名、大小、时间、路径。"),
                          QCoreApplication::translate("Cli", "光盘名"));
    if (const auto end = command.parse(arguments, 1))
        return *end;
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        FileRowModel rows;
        if (!discFiles(catalogue.dm(), command.parser.positionalArguments().first(), rows))
            return int(Status::NothingFound);
        return listFiles(command, rows);
    });
}

int CliCommands::search(const QStringList &arguments)
{
    CommandParser command(QCoreApplication::translate("Cli", "查找文件，条件与查询对话框相同（* 匹配任意字符）。"),
                          QCoreApplication::translate("Cli", "文字"));
    command.parser.addOption(inOption());
    command.parser.addOption(
        {u"pinyin"_s, QCoreApplication::translate("Cli", "也按拼音（全拼或首字母）查找中文名称，如同勾选“拼音”。")});
    if (const auto end = command.parse(arguments, 1))
        return *end;
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        FileRowModel rows;
        if (!searchHits(catalogue.dm(), command.parser.positionalArguments().first(), command.parser.value(u"in"_s),
                        rows, command.parser.isSet(u"pinyin"_s)))
            return int(Status::BadUsage);
        return listFiles(command, rows);
    });
}

int CliCommands::categories(const QStringList &arguments)
{
    CommandParser command(QCoreApplication::translate("Cli", "列出扩展名类别和它们的文件掩码。"), QString());
    if (const auto end = command.parse(arguments, 0))
        return *end;
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        QList<QStringList> records;
        for (const CategoryRecord &category : catalogue.dm().catalogue().categories())
            records.append({category.name, category.masks.join(u' ')});
        command.output().listing({u"name"_s, u"masks"_s}, records);
        return int(Status::Done);
    });
}
