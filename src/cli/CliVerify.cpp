#include "CliVerify.h"

#include "import/DiscVerification.h"
#include "store/Catalogue.h"
#include "store/DiscVerifications.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace CliSupport;

namespace {

const QString kDue = u"due"_s;
const QString kMonths = u"months"_s;

struct SourceOptions {
    QCommandLineOption drive{u"drive"_s, QCoreApplication::translate("Cli", "从这个驱动器读光盘（例如 D）。"),
                             QCoreApplication::translate("Cli", "盘符")};
    QCommandLineOption folder{u"folder"_s, QCoreApplication::translate("Cli", "从这个文件夹读。"),
                              QCoreApplication::translate("Cli", "文件夹")};
    QCommandLineOption image{u"image"_s, QCoreApplication::translate("Cli", "从这个光盘映像文件读。"),
                             QCoreApplication::translate("Cli", "映像")};
};

// Where the disc is read: the option given, else where the program finds it.
std::optional<DiscVerification::Source> sourceOf(const QCommandLineParser &p, const SourceOptions &o, TdmQL &dm,
                                                 qint64 disc)
{
    if (p.isSet(o.drive))
        return driveNamed(p.value(o.drive));
    if (p.isSet(o.folder))
        return folderNamed(p.value(o.folder));
    if (p.isSet(o.image))
        return imageNamed(p.value(o.image));
    const auto found = DiscVerification::locate(dm, disc);
    if (!found)
        CliOutput::error(QCoreApplication::translate(
            "Cli", "找不到这张光盘：没有驱动器里有它，也没有导入时的文件夹。请用 --drive、--folder 或 --image 给出。"));
    return found;
}

int statusOf(const Verification &counts)
{
    switch (counts.state()) {
    case Verification::State::Unreadable:
        return 4;
    case Verification::State::Differences:
        return 1;
    case Verification::State::Whole:
        break;
    }
    return 0;
}

} // namespace

int CliVerify::verify(const QStringList &arguments)
{
    CommandParser command(
        QCoreApplication::translate("Cli", "校验光盘：把光盘再读一遍，逐个文件与光盘索引库比较，列出已改变、缺少、新增、"
                                           "无法读取和与光盘上的校验清单不符的文件。退出状态：0 完全相同，"
                                           "1 有不同或缺少的文件，4 有无法读取的文件。"),
        QCoreApplication::translate("Cli", "光盘名"));
    const SourceOptions sources;
    command.parser.addOptions({sources.drive, sources.folder, sources.image});
    if (const auto end = command.parse(arguments, 1))
        return *end;
    const QCommandLineParser &p = command.parser;
    if (int(p.isSet(sources.drive)) + int(p.isSet(sources.folder)) + int(p.isSet(sources.image)) > 1) {
        CliOutput::error(QCoreApplication::translate("Cli", "--drive、--folder 和 --image 只能用一个"));
        return Status::BadUsage;
    }
    return withCatalogue(command, TdmQL::Access::ReadWrite, [&](CliCatalogue &catalogue) {
        const QString name = p.positionalArguments().first();
        const std::optional<DiscRecord> disc = catalogue.dm().catalogue().discNamed(name);
        if (!disc) {
            CliOutput::error(QCoreApplication::translate("Cli", "找不到光盘“%1”").arg(name));
            return int(Status::NothingFound);
        }
        const auto source = sourceOf(p, sources, catalogue.dm(), disc->code);
        if (!source)
            return int(Status::NothingFound);
        TerminalProgress progress;
        const auto outcome = DiscVerification::run(catalogue.dm(), disc->code, *source, progress);
        if (!outcome)
            return int(Status::NothingFound);
        DiscVerificationStore::record(catalogue.dm().aConQl.connectionName(), disc->code, outcome->counts);
        QList<QStringList> records;
        for (const VerifiedFile &file : outcome->files)
            records.append({VerifiedFile::kindKey(file.kind), file.name, file.size, file.date, file.folder, file.detail});
        command.output().listing({u"result"_s, u"name"_s, u"size"_s, u"date"_s, u"path"_s, u"detail"_s}, records);
        CliOutput::note(DiscVerification::summary(outcome->counts));
        return statusOf(outcome->counts);
    });
}

QList<QCommandLineOption> CliVerify::discsOptions()
{
    return {{kDue, QCoreApplication::translate("Cli", "只列出需要检查的光盘：从未校验过的，和上次校验在 --months 个月"
                                                      "以前的，最久的在前：名称、上次校验时间、结果。")},
            {kMonths, QCoreApplication::translate("Cli", "与 --due 一起用：多少个月以前（默认 12）。"),
             QCoreApplication::translate("Cli", "月数"), u"12"_s}};
}

std::optional<int> CliVerify::dueDiscs(const CommandParser &command)
{
    if (!command.parser.isSet(kDue))
        return std::nullopt;
    bool ok = false;
    const int months = command.parser.value(kMonths).toInt(&ok);
    if (!ok || months < 0) {
        CliOutput::error(QCoreApplication::translate("Cli", "--months 要是不小于 0 的整数"));
        return int(Status::BadUsage);
    }
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        const QString connection = catalogue.dm().aConQl.connectionName();
        const QHash<qint32, Verification> latest = DiscVerificationStore::latest(connection);
        QList<QStringList> records;
        for (const DueDisc &disc : DiscVerificationStore::due(connection, DiscVerification::dueCutoff(months))) {
            const auto last = latest.constFind(disc.code);
            records.append({disc.name, disc.verifiedAt,
                            last == latest.cend() ? u"never"_s : DiscVerification::stateKey(last->state())});
        }
        command.output().listing({u"name"_s, u"verified"_s, u"state"_s}, records);
        return records.isEmpty() ? int(Status::NothingFound) : int(Status::Done);
    });
}
