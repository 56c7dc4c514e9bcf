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
    m_entries.clear();
    m_entries.reserve(discs.size());
    for (const DiscOverview &disc : discs)
        m_entries.append(entryOf(disc));
}

void DiscFilter::update(const DiscOverview &disc)
{
    const auto found =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &entry) { return entry.code == disc.code; });
    if (found == m_entries.end())
        m_entries.append(entryOf(disc));
    else
        *found = entryOf(disc);
}

void DiscFilter::remove(qint32 code)
{
    m_entries.removeIf([code](const Entry &entry) { return entry.code == code; });
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
    return needle;
}

bool DiscFilter::matches(const Entry &entry, const Needle &needle)
{
    if (needle.isEmpty() || entry.text.contains(needle.text))
        return true;
    return !needle.reading.isEmpty() && entry.readings.contains(needle.reading);
}

bool DiscFilter::matches(qint32 code, const Needle &needle) const
{
    const auto found =
        std::find_if(m_entries.cbegin(), m_entries.cend(), [&](const Entry &entry) { return entry.code == code; });
    return found != m_entries.cend() && matches(*found, needle);
}

QList<qint32> DiscFilter::matching(const QString &typed) const
{
    const Needle wanted = needle(typed);
    QList<qint32> codes;
    for (const Entry &entry : m_entries)
        if (matches(entry, wanted))
            codes.append(entry.code);
    return codes;
}
