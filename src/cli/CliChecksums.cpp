// The commands about checksums and copies: the checksums of a disc in sha256sum's format,
// and which files exist on one disc only.
#include "CliCommands.h"

#include "CliSupport.h"
#include "store/CataloguedDiscs.h"
#include "store/Copies.h"
#include "store/FileChecksums.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace CliSupport;

namespace {

// As sha256sum writes a name: a backslash, CR or LF in it is escaped, and the line then
// begins with a backslash, so that "sha256sum -c" reads the name back.
QString checksumLine(const QByteArray &digest, QString path)
{
    const bool escape = path.contains(u'\\') || path.contains(u'\n') || path.contains(u'\r');
    if (escape)
        path.replace(u"\\"_s, u"\\\\"_s).replace(u"\n"_s, u"\\n"_s).replace(u"\r"_s, u"\\r"_s);
    return (escape ? u"\\"_s : QString()) + QString::fromLatin1(digest.toHex()) + u"  "_s + path + u'\n';
}

// "\music\rock\" and "a.mp3" → "music/rock/a.mp3": below the disc's root.
QString discPath(const FileChecksums::Entry &entry)
{
    QString folder = entry.folder;
    while (folder.startsWith(u'\\'))
        folder.remove(0, 1);
    return folder.replace(u'\\', u'/') + entry.name;
}

std::optional<qint64> discNamed(TdmQL &dm, const QString &name)
{
    const std::optional<qint64> code = CataloguedDiscs::codeOf(dm, name);
    if (!code)
        CliOutput::error(QCoreApplication::translate("Cli", "找不到光盘“%1”").arg(name));
    return code;
}

// Listings of any length: written in parts of this many records (TSV has no heading).
class BatchedListing {
public:
    BatchedListing(const CommandParser &command, QStringList fields)
        : m_output(command.output()), m_json(command.parser.isSet(command.json)), m_fields(std::move(fields))
    {
    }
    void add(QStringList record)
    {
        m_records.append(std::move(record));
        ++m_count;
        if (!m_json && m_records.size() >= 10000)
            flush();
    }
    void flush()
    {
        if (!m_records.isEmpty() || (m_json && !m_written)) {
            m_output.listing(m_fields, m_records);
            m_written = true;
        }
        m_records.clear();
    }
    qint64 count() const { return m_count; }

private:
    CliOutput m_output;
    bool m_json;
    QStringList m_fields;
    QList<QStringList> m_records;
    qint64 m_count = 0;
    bool m_written = false;
};

QString percent(qint64 part, qint64 whole)
{
    return whole > 0 ? QString::number(100.0 * double(part) / double(whole), 'f', 1) : u"0.0"_s;
}

} // namespace

int CliCommands::checksums(const QStringList &arguments)
{
    CommandParser command(
        QCoreApplication::translate("Cli", "以 sha256sum 的格式列出一张光盘的校验值（路径相对于光盘的根目录），"
                                           "在光盘的根目录下用 sha256sum -c 核对。"),
        QCoreApplication::translate("Cli", "光盘名"));
    if (const auto end = command.parse(arguments, 1))
        return *end;
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        const std::optional<qint64> code = discNamed(catalogue.dm(), command.parser.positionalArguments().first());
        if (!code)
            return int(Status::NothingFound);
        const QList<FileChecksums::Entry> entries =
            FileChecksums::ofDisc(catalogue.dm().aConQl.connectionName(), *code);
        QString text;
        int unreadable = 0;
        for (const FileChecksums::Entry &entry : entries) {
            if (entry.digest.isEmpty())
                ++unreadable;
            else
                text += checksumLine(entry.digest, discPath(entry));
        }
        const QByteArray bytes = text.toUtf8();
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
            return int(Status::CatalogueFailed);
        if (unreadable > 0)
            CliOutput::error(
                QCoreApplication::translate("Cli", "%1个文件导入时无法读取，没有校验值").arg(unreadable));
        if (entries.isEmpty()) {
            CliOutput::error(QCoreApplication::translate("Cli", "这张光盘导入时没有计算校验值"));
            return int(Status::NothingFound);
        }
        return int(Status::Done);
    });
}

int CliCommands::copies(const QStringList &arguments)
{
    CommandParser command(
        QCoreApplication::translate("Cli", "副本统计：每张光盘有多少文件在别的光盘上也有。校验值相同，"
                                           "或没有校验值时名称、大小和时间相同的文件算作副本。"),
        QCoreApplication::translate("Cli", "[光盘名]"));
    const QCommandLineOption single(u"single"_s,
                                    QCoreApplication::translate("Cli", "列出只在一张光盘上有的文件。"));
    const QCommandLineOption duplicates(
        u"duplicates"_s, QCoreApplication::translate("Cli", "列出在几张光盘上都有的文件和这些光盘。"));
    command.parser.addOptions({single, duplicates});
    if (const auto end = command.parse(arguments, 0, 1))
        return *end;
    const QCommandLineParser &p = command.parser;
    if (p.isSet(single) && p.isSet(duplicates)) {
        CliOutput::error(QCoreApplication::translate("Cli", "--single 和 --duplicates 只能用一个"));
        return Status::BadUsage;
    }
    return withCatalogue(command, TdmQL::Access::ReadOnly, [&](CliCatalogue &catalogue) {
        std::optional<qint64> disc;
        if (!p.positionalArguments().isEmpty()) {
            disc = discNamed(catalogue.dm(), p.positionalArguments().first());
            if (!disc)
                return int(Status::NothingFound);
        }
        const QString connection = catalogue.dm().aConQl.connectionName();
        if (p.isSet(single)) {
            BatchedListing out(command, {u"disc"_s, u"name"_s, u"size"_s, u"date"_s, u"path"_s});
            Copies::single(connection, disc, [&](FileRow &&row) {
                out.add({row.caption, row.sub[0], row.sub[1], row.sub[2], row.sub[3]});
            });
            out.flush();
            return out.count() > 0 ? int(Status::Done) : int(Status::NothingFound);
        }
        if (p.isSet(duplicates)) {
            BatchedListing out(command, {u"name"_s, u"size"_s, u"date"_s, u"sha256"_s, u"discs"_s});
            Copies::duplicates(connection, disc, [&](Copies::Group &&group) {
                out.add({group.name, group.size, group.time, QString::fromLatin1(group.digest.toHex()),
                         CataloguedDiscs::joined(group.discs)});
            });
            out.flush();
            return out.count() > 0 ? int(Status::Done) : int(Status::NothingFound);
        }
        QList<QStringList> records;
        for (const Copies::DiscShare &share : Copies::shares(connection, disc))
            records.append({share.name, QString::number(share.files), QString::number(share.copied),
                            QString::number(share.files - share.copied), percent(share.copied, share.files)});
        command.output().listing({u"disc"_s, u"files"_s, u"copied"_s, u"single"_s, u"percent"_s}, records);
        return records.isEmpty() ? int(Status::NothingFound) : int(Status::Done);
    });
}
