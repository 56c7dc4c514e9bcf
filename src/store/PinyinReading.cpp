#include "PinyinReading.h"

#include <QHash>

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr QChar kRunSeparator = QChar(0x0001);

bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\u3000';
}

// Full-width forms of the ASCII characters (ＡＢＣ１２３).
bool isFullWidth(char32_t c)
{
    return c >= U'\uFF01' && c <= U'\uFF5E';
}

char16_t upperAscii(char32_t c)
{
    return c >= U'a' && c <= U'z' ? char16_t(c - U'a' + U'A') : char16_t(c);
}

// Transliterating a whole name costs nearly half a millisecond; one character at a time,
// remembered, costs that once per character the program meets.
class CharacterReadings {
public:
    // The upper-case ASCII letters of the character's reading; empty when it has none.
    const QString &of(char32_t c)
    {
        const auto found = m_readings.constFind(c);
        if (found != m_readings.cend())
            return *found;
        return *m_readings.insert(c, transliterate(c));
    }

private:
    QString transliterate(char32_t c)
    {
        if (!m_transliterator)
            return {};
        icu::UnicodeString text(static_cast<UChar32>(c));
        m_transliterator->transliterate(text);
        QString letters;
        for (int32_t i = 0; i < text.length(); ++i) {
            const char16_t unit = text.charAt(i);
            if ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z'))
                letters += QChar(upperAscii(unit));
        }
        return letters;
    }

    static std::unique_ptr<icu::Transliterator> create()
    {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> transliterator(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(transliterator) : nullptr;
    }

    std::unique_ptr<icu::Transliterator> m_transliterator = create();
    QHash<char32_t, QString> m_readings;
};

CharacterReadings &readings()
{
    thread_local CharacterReadings instance;
    return instance;
}

// The reading of one character of a run, or empty when the character is not one.
QString spellCharacter(char32_t c, PinyinReading::Part part)
{
    if (isFullWidth(c))
        return QString(QChar(upperAscii(c - 0xFEE0)));
    if (QChar::script(c) != QChar::Script_Han)
        return {};
    const QString &full = readings().of(c);
    return part == PinyinReading::Part::Full ? full : full.left(1);
}

} // namespace

QString PinyinReading::spell(const QString &text, Part part)
{
    QString out;
    bool inRun = false;
    for (const char32_t c : text.toUcs4()) {
        if (inRun && isBlank(c))
            continue;
        const QString reading = spellCharacter(c, part);
        if (reading.isEmpty()) {
            inRun = false;
            continue;
        }
        if (!inRun && !out.isEmpty())
            out += kRunSeparator;
        out += reading;
        inRun = true;
    }
    return out;
}

QString PinyinReading::indexedText(const QString &text)
{
    const QString full = spell(text, Part::Full);
    if (full.isEmpty())
        return {};
    const QString pads(2, kRunSeparator);
    return full + pads + spell(text, Part::Initials) + pads;
}
