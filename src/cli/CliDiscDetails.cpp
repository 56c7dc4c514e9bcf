#include "CliDiscDetails.h"

#include "store/DiscChange.h"
#include "store/DiscDetails.h"
#include "store/DiscFilter.h"
#include "store/DiscLending.h"
#include "store/ImportRecord.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;
using namespace CliSupport;

namespace {

const QString kLent = u"lent"_s;
const QString kWhere = u"where"_s;

QString connectionOf(CliCatalogue &catalogue)
{
    return catalogue.dm().aConQl.connectionName();
}

// The code of the disc named on the command line; nothing (said on standard error) when
// there is none.
std::optional<qint64> namedDisc(CliCatalogue &catalogue, const QString &name)
{
    const std::optional<qint64> code = DiscDetailsStore::codeOf(connectionOf(catalogue), name);
    if (!code)
        CliOutput::error(QCoreApplication::translate("Cli", "找不到光盘“%1”的记录").arg(name));
    return code;
}

QJsonObject importObject(const ImportRecord &record)
{
    return {{u"importedAt"_s, record.importedAt},
            {u"category"_s, record.category},
            {u"masks"_s, QJsonArray::fromStringList(record.masks)},
            {u"source"_s, ImportRecord::sourceName(record.source)},
            {u"letter"_s, record.letter},
            {u"label"_s, record.label},
            {u"serial"_s, record.serial},
            {u"path"_s, record.path},
            {u"options"_s, record.options}};
}

// Everything show prints about a disc, as one JSON object.
QJsonObject propertiesObject(const QString &connection, const DiscOverview &disc)
{
    const DiscTotals totals = DiscDetailsStore::totals(connection, disc.code);
    QJsonArray lendings;
    for (const Lending &lending : DiscLendingStore::history(connection, disc.code))
        lendings.append(QJsonObject{{u"borrower"_s, lending.borrower},
                                    {u"lentOn"_s, lending.lentOn},
                                    {u"returnedOn"_s, lending.returnedOn}});
    const std::optional<ImportRecord> record = ImportRecordStore::read(connection, disc.code);
    return {{u"name"_s, disc.name},
            {u"label"_s, disc.label},
            {u"serial"_s, disc.serial},
            {u"files"_s, totals.files},
            {u"bytes"_s, totals.bytes},
            {u"location"_s, disc.details.location},
            {u"note"_s, disc.details.note},
            {u"keywords"_s, QJsonArray::fromStringList(DiscChangeStore::keywordList(disc.details.keywords))},
            {u"lentTo"_s, disc.borrower},
            {u"lentOn"_s, disc.lentOn},
            {u"lendings"_s, lendings},
            {u"import"_s, record ? QJsonValue(importObject(*record)) : QJsonValue()}};
}

QString fieldText(const QJsonValue &value)
{
    if (value.isArray()) {
        QStringList parts;
        for (const QJsonValue &item : value.toArray())
            parts.append(item.toString());
        return parts.join(u' ');
    }
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    return value.isDouble() ? QString::number(value.toInteger()) : value.toString();
}

// The text form of show: one field a line, its name and value; each lending a line of its
// own; an import record's fields prefixed "import.", or "import 未知" without one.
QList<QStringList> propertiesLines(const QJsonObject &properties)
{
    QList<QStringList> lines;
    for (const QString &key : {u"name"_s, u"label"_s, u"serial"_s, u"files"_s, u"bytes"_s, u"location"_s, u"note"_s,
                               u"keywords"_s, u"lentTo"_s, u"lentOn"_s})
        lines.append({key, fieldText(properties.value(key))});
    for (const QJsonValue &lending : properties.value(u"lendings"_s).toArray()) {
        const QJsonObject object = lending.toObject();
        lines.append({u"lending"_s, object.value(u"borrower"_s).toString(), object.value(u"lentOn"_s).toString(),
                      object.value(u"returnedOn"_s).toString()});
    }
    const QJsonValue record = properties.value(u"import"_s);
    if (!record.isObject()) {
        lines.append({u"import"_s, QCoreApplication::translate("Cli", "未知")});
        return lines;
    }
    const QJsonObject object = record.toObject();
    for (const QString &key : {u"importedAt"_s, u"category"_s, u"masks"_s, u"source"_s, u"letter"_s, u"label"_s,
                               u"serial"_s, u"path"_s, u"options"_s})
        lines.append({u"import."_s + key, fieldText(object.value(key))});
    return lines;
}

int listLent(const CommandParser &command, CliCatalogue &catalogue)
{
    QList<QStringList> records;
    for (const LentDisc &disc : DiscLendingStore::lentDiscs(connectionOf(catalogue)))
        records.append({disc.name, disc.borrower, disc.lentOn});
    command.output().listing({u"name"_s, u"lentTo"_s, u"lentOn"_s}, records);
    return records.isEmpty() ? int(Status::NothingFound) : int(Status::Done);
}

int listWhere(const CommandParser &command, CliCatalogue &catalogue, const QString &text)
{
    const QString connection = connectionOf(catalogue);
    const QList<DiscOverview> discs = DiscDetailsStore::overviews(connection);
    DiscFilter filter;
    filter.setDiscs(discs);
    const QList<qint32> codes = filter.matching(text);
    const QHash<qint64, qint64> counts = DiscDetailsStore::fileCounts(connection);
    QList<QStringList> records;
    for (const DiscOverview &disc : discs)
        if (codes.contains(disc.code))
            records.append({disc.name, disc.label, disc.serial, QString::number(counts.value(disc.code)),
                            disc.details.location});
    command.output().listing({u"name"_s, u"label"_s, u"serial"_s, u"files"_s, u"location"_s}, records);
    return records.isEmpty() ? int(Status::NothingFound) : int(Status::Done);
}

} // namespace

QList<QCommandLineOption> CliDiscDetails::discsOptions()
{
    return {{kLent, QCoreApplication::translate("Cli", "只列出借出的光盘：名称、借给谁、借出日期，借出最早的在前。")},
            {kWhere, QCoreApplication::translate("Cli", "只列出名称、卷标、位置、说明或关键词含有该文字的光盘（也按拼音）。"),
             QCoreApplication::translate("Cli", "文字")}};
}

std::optional<int> CliDiscDetails::narrowedDiscs(const CommandParser &command)
{
    const bool lent = command.parser.isSet(kLent);
    if (!lent && !command.parser.isSet(kWhere))
        return std::nullopt;
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        return lent ? listLent(command, catalogue) : listWhere(command, catalogue, command.parser.value(kWhere));
    });
}

int CliDiscDetails::show(const QStringList &arguments)
{
    CommandParser command(QCoreApplication::translate("Cli", "显示一张光盘的属性：卷标、序列号、文件数、总大小、位置、"
                                                             "说明、关键词、借出和借出记录，以及导入的情况。"),
                          QCoreApplication::translate("Cli", "光盘名"));
    if (const auto end = command.parse(arguments, 1))
        return *end;
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        const std::optional<qint64> code = namedDisc(catalogue, command.parser.positionalArguments().first());
        const std::optional<DiscOverview> disc =
            code ? DiscDetailsStore::overview(connectionOf(catalogue), *code) : std::nullopt;
        if (!disc)
            return int(Status::NothingFound);
        const QJsonObject properties = propertiesObject(connectionOf(catalogue), *disc);
        if (command.parser.isSet(command.json))
            CliOutput::document(QJsonDocument(properties));
        else
            command.output().listing({}, propertiesLines(properties));
        return int(Status::Done);
    });
}

int CliDiscDetails::edit(const QStringList &arguments)
{
    CommandParser command(QCoreApplication::translate("Cli", "修改一张光盘的属性：位置、说明、关键词、名称和借出。"),
                          QCoreApplication::translate("Cli", "光盘名"));
    const QCommandLineOption location(u"location"_s, QCoreApplication::translate("Cli", "光盘放在哪里。"),
                                      QCoreApplication::translate("Cli", "文字"));
    const QCommandLineOption note(u"note"_s, QCoreApplication::translate("Cli", "光盘的说明。"),
                                  QCoreApplication::translate("Cli", "文字"));
    const QCommandLineOption keywords(u"keywords"_s,
                                      QCoreApplication::translate("Cli", "关键词，用空格或逗号分开。"),
                                      QCoreApplication::translate("Cli", "文字"));
    const QCommandLineOption rename(u"rename"_s, QCoreApplication::translate("Cli", "光盘的新名称。"),
                                    QCoreApplication::translate("Cli", "名称"));
    const QCommandLineOption lend(u"lend"_s, QCoreApplication::translate("Cli", "把光盘借给这个人（从今天起）。"),
                                  QCoreApplication::translate("Cli", "人"));
    const QCommandLineOption giveBack(u"return"_s, QCoreApplication::translate("Cli", "借出的光盘已归还。"));
    command.parser.addOptions({location, note, keywords, rename, lend, giveBack});
    if (const auto end = command.parse(arguments, 1))
        return *end;
    const QCommandLineParser &p = command.parser;
    DiscChange change;
    for (const auto &[option, field] : {std::pair{&location, &change.location}, std::pair{&note, &change.note},
                                        std::pair{&keywords, &change.keywords}, std::pair{&rename, &change.name},
                                        std::pair{&lend, &change.lendTo}})
        if (p.isSet(*option))
            *field = p.value(*option);
    change.giveBack = p.isSet(giveBack);
    return withCatalogue(command, TdmQL::Access::ReadWrite, [&](CliCatalogue &catalogue) {
        const std::optional<qint64> code = namedDisc(catalogue, p.positionalArguments().first());
        if (!code)
            return int(Status::NothingFound);
        switch (DiscChangeStore::apply(connectionOf(catalogue), *code, change)) {
        case DiscDetailsStore::Rename::NameTaken:
            CliOutput::error(
                QCoreApplication::translate("Cli", "%1：光盘索引库中已经有该名称的光盘了!").arg(*change.name));
            return int(Status::NothingFound);
        case DiscDetailsStore::Rename::Empty:
            CliOutput::error(QCoreApplication::translate("Cli", "光盘名不能为空"));
            return int(Status::BadUsage);
        case DiscDetailsStore::Rename::Done:
            break;
        }
        return int(Status::Done);
    });
}
