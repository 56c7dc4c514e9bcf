#include "DiscFilter.h"

#include "PinyinReading.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Between the fields: no typed text holds it, so a match never spans two fields.
constexpr QChar kFieldSeparator = QChar(0x0002);

bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

DiscFilter::Entry DiscFilter::entryOf(const DiscOverview &disc)
{
    Entry entry;
    entry.code = disc.code;
    for (const QString &field :
         {disc.name, disc.label, disc.details.location, disc.details.note, disc.details.keywords}) {
        entry.text += field.toCaseFolded() + kFieldSeparator;
        for (const PinyinReading::Part part : {PinyinReading::Part::Full, PinyinReading::Part::Initials}) {
            const QString reading = PinyinReading::spell(field, part);
            if (!reading.isEmpty())
                entry.readings += reading + kFieldSeparator;
        }
    }
    return entry;
}

void DiscFilter::setDiscs(const QList<DiscOverview> &discs)
{
    forgetLastMatch();
    m_entries.clear();
    m_positions.clear();
    m_entries.reserve(discs.size());
    for (const DiscOverview &disc : discs) {
        m_positions.insert(disc.code, m_entries.size());
        m_entries.append(entryOf(disc));
    }
}

void DiscFilter::update(const DiscOverview &disc)
{
    forgetLastMatch();
    const auto found = m_positions.constFind(disc.code);
    if (found != m_positions.cend()) {
        m_entries[*found] = entryOf(disc);
        return;
    }
    m_positions.insert(disc.code, m_entries.size());
    m_entries.append(entryOf(disc));
}

void DiscFilter::remove(qint32 code)
{
    forgetLastMatch();
    const auto found = m_positions.constFind(code);
    if (found == m_positions.cend())
        return;
    m_entries.removeAt(*found);
    m_positions.clear();
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        m_positions.insert(m_entries.at(i).code, i);
}

DiscFilter::Needle DiscFilter::needle(const QString &typed)
{
    Needle needle;
    needle.text = typed.trimmed().toCaseFolded();
    if (!needle.text.isEmpty() && isAscii(needle.text)) {
        needle.reading = needle.text.toUpper();
        needle.reading.remove(u' ');
        needle.reading.remove(u'\t');
    }
    needle.textMatcher.setPattern(needle.text);
    needle.readingMatcher.setPattern(needle.reading);
    return needle;
}

bool DiscFilter::matches(const Entry &entry, const Needle &needle)
{
    if (needle.isEmpty() || needle.textMatcher.indexIn(entry.text) >= 0)
        return true;
    return !needle.reading.isEmpty() && needle.readingMatcher.indexIn(entry.readings) >= 0;
}

void DiscFilter::forgetLastMatch()
{
    m_lastText = QString();
    m_lastMatches.clear();
}

QList<qint32> DiscFilter::matching(const QString &typed)
{
    const Needle wanted = needle(typed);
    QList<qsizetype> found;
    const auto look = [&](qsizetype position) {
        if (matches(m_entries.at(position), wanted))
            found.append(position);
    };
    if (!m_lastText.isNull() && wanted.text.contains(m_lastText)) {
        for (const qsizetype position : std::as_const(m_lastMatches))
            look(position);
    } else {
        for (qsizetype position = 0; position < m_entries.size(); ++position)
            look(position);
    }
    m_lastText = wanted.text.isNull() ? u""_s : wanted.text;
    m_lastMatches = found;
    QList<qint32> codes;
    codes.reserve(found.size());
    for (const qsizetype position : std::as_const(found))
        codes.append(m_entries.at(position).code);
    return codes;
}
