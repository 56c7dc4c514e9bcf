#include "ChecksumList.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

qsizetype digestLength(DigestKind kind)
{
    switch (kind) {
    case DigestKind::Md5:
        return 32;
    case DigestKind::Crc32:
        return 8;
    default:
        return 64;
    }
}

std::optional<QByteArray> hexDigest(const QString &text, DigestKind kind)
{
    static const QRegularExpression hex(u"^[0-9A-Fa-f]+$"_s);
    if (text.size() != digestLength(kind) || !hex.match(text).hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(text.toLatin1());
}

// sha256sum's escaped names: a line beginning with a backslash has \\, \n and \r in its name.
QString unescaped(const QString &name)
{
    QString plain;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name.at(i) == u'\\' && i + 1 < name.size()) {
            const QChar next = name.at(++i);
            plain += next == u'n' ? u'\n' : next == u'r' ? u'\r' : next;
        } else {
            plain += name.at(i);
        }
    }
    return plain;
}

std::optional<ChecksumList::Entry> sumLine(DigestKind kind, QString line)
{
    static const QRegularExpression bsd(u"^(?:SHA256|MD5) ?\\((.*)\\) ?= ?([0-9A-Fa-f]+)$"_s);
    if (const QRegularExpressionMatch m = bsd.match(line); m.hasMatch()) {
        const auto digest = hexDigest(m.captured(2), kind);
        return digest ? std::optional(ChecksumList::Entry{m.captured(1), *digest}) : std::nullopt;
    }
    const bool escaped = line.startsWith(u'\\');
    if (escaped)
        line.remove(0, 1);
    const qsizetype length = digestLength(kind);
    if (line.size() < length + 2 || line.at(length) != u' ' || (line.at(length + 1) != u' ' && line.at(length + 1) != u'*'))
        return std::nullopt;
    const auto digest = hexDigest(line.left(length), kind);
    const QString name = line.mid(length + 2);
    if (!digest || name.isEmpty())
        return std::nullopt;
    return ChecksumList::Entry{escaped ? unescaped(name) : name, *digest};
}

std::optional<ChecksumList::Entry> sfvLine(const QString &line)
{
    const qsizetype blank = line.lastIndexOf(u' ');
    if (blank <= 0)
        return std::nullopt;
    const auto digest = hexDigest(line.mid(blank + 1), DigestKind::Crc32);
    const QString name = line.left(blank).trimmed();
    if (!digest || name.isEmpty())
        return std::nullopt;
    return ChecksumList::Entry{name, *digest};
}

} // namespace

std::optional<DigestKind> ChecksumList::kindOf(const QString &fileName)
{
    if (fileName.compare(u"SHA256SUMS"_s, Qt::CaseInsensitive) == 0)
        return DigestKind::Sha256;
    if (fileName.compare(u"MD5SUMS"_s, Qt::CaseInsensitive) == 0 || fileName.endsWith(u".md5"_s, Qt::CaseInsensitive))
        return DigestKind::Md5;
    if (fileName.endsWith(u".sfv"_s, Qt::CaseInsensitive))
        return DigestKind::Crc32;
    return std::nullopt;
}

ChecksumList ChecksumList::parse(DigestKind kind, const QByteArray &text)
{
    ChecksumList list;
    list.kind = kind;
    QString all = QString::fromUtf8(text);
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    for (QString line : all.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || (kind == DigestKind::Crc32 && line.startsWith(u';')) || line.startsWith(u'#'))
            continue;
        const auto entry = kind == DigestKind::Crc32 ? sfvLine(line.trimmed()) : sumLine(kind, line);
        if (!entry) {
            ++list.badLines;
            continue;
        }
        QString path = entry->path;
        path.replace(u'\\', u'/');
        while (path.startsWith(u"./"_s))
            path.remove(0, 2);
        list.entries.append({path, entry->digest});
    }
    return list;
}
