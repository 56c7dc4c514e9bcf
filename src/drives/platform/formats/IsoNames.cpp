#include "IsoNames.h"

#include "NameBytes.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// Removes ";" and the version digits after it from the end of a file name.
void removeVersion(QString &name)
{
    const qsizetype semicolon = name.lastIndexOf(u';');
    if (semicolon < 0)
        return;
    const QStringView version = QStringView(name).sliced(semicolon + 1);
    if (std::all_of(version.begin(), version.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        name.truncate(semicolon);
}

bool unusable(QChar c)
{
    return c.unicode() < 0x20 || c == u'/' || c == u'\\' || c.unicode() == 0x7f;
}
} // namespace

namespace IsoNames {

QString joliet(QByteArrayView identifier)
{
    QString name;
    name.reserve(identifier.size() / 2);
    for (qsizetype i = 0; i + 1 < identifier.size(); i += 2)
        name.append(QChar(char16_t(quint8(identifier[i]) << 8 | quint8(identifier[i + 1]))));
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            ++i;
        else if (name[i].isSurrogate())
            name[i] = QChar::ReplacementCharacter;
    }
    return name;
}

QString primary(QByteArrayView identifier)
{
    return NameBytes::decode(identifier, NameBytes::First::Gb18030);
}

QString shown(QString name, bool directory)
{
    if (!directory) {
        removeVersion(name);
        // "README.;1": the dot only separated an empty extension.
        if (name.endsWith(u'.') && name != u"."_s && name != u".."_s)
            name.chop(1);
    }
    std::replace_if(name.begin(), name.end(), unusable, QChar(u'_'));
    if (name == u"."_s || name == u".."_s)
        return {};
    return name;
}

} // namespace IsoNames
