#include "NameBytes.h"

#include <QStringDecoder>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The length of the well-formed UTF-8 sequence at the start of bytes; 0 where none begins
// (a stray continuation byte, an overlong form, a surrogate, a cut sequence).
qsizetype utf8Length(QByteArrayView bytes)
{
    const uchar lead = uchar(bytes.front());
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    uchar low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || bytes.size() < length || uchar(bytes[1]) < low || uchar(bytes[1]) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if ((uchar(bytes[i]) & 0xC0) != 0x80)
            return 0;
    return length;
}

// UTF-8 text, a byte order mark kept as the character it is (it is part of the name).
QString fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool isUtf8(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = utf8Length(bytes.sliced(i));
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool inRange(char c, uchar low, uchar high)
{
    return uchar(c) >= low && uchar(c) <= high;
}

// The length of the GB18030 sequence at the start of bytes (one, two or four bytes); 0
// where none begins.
qsizetype gb18030Length(QByteArrayView bytes)
{
    if (uchar(bytes.front()) < 0x80)
        return 1;
    if (!inRange(bytes.front(), 0x81, 0xFE) || bytes.size() < 2)
        return 0;
    if (inRange(bytes[1], 0x40, 0x7E) || inRange(bytes[1], 0x80, 0xFE))
        return 2;
    if (inRange(bytes[1], 0x30, 0x39) && bytes.size() >= 4 && inRange(bytes[2], 0x81, 0xFE) &&
        inRange(bytes[3], 0x30, 0x39))
        return 4;
    return 0;
}

// The GB18030 reading, or nothing when the bytes are not GB18030 (also a four-byte code
// that names no character).
std::optional<QString> gb18030(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = gb18030Length(bytes.sliced(i));
        if (length == 0)
            return std::nullopt;
        i += length;
    }
    QStringDecoder decoder("GB18030", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return text;
}

// The UTF-8 sequences as they are, every other byte as "%FF".
QString utf8Keeping(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = utf8Length(bytes.sliced(i));
        if (length > 0) {
            text += fromUtf8(bytes.sliced(i, length));
            i += length;
        } else {
            text += u'%' + QString::number(uchar(bytes[i]), 16).toUpper().rightJustified(2, u'0');
            ++i;
        }
    }
    return text;
}

} // namespace

namespace NameBytes {

QString decode(QByteArrayView bytes, First first)
{
    const bool utf8 = isUtf8(bytes);
    if (utf8 && first == First::Utf8)
        return fromUtf8(bytes);
    if (const std::optional<QString> text = gb18030(bytes))
        return *text;
    return utf8 ? fromUtf8(bytes) : utf8Keeping(bytes);
}

} // namespace NameBytes
