#include "DateText.h"

using namespace Qt::StringLiterals;

namespace {
const QString kDate = u"yyyy-MM-dd"_s;
const QString kDateTime = u"yyyy-MM-dd HH:mm:ss"_s;
} // namespace

QString DateText::fromDateTime(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    const QDateTime local = value.toLocalTime();
    const QTime t = local.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return local.toString(kDate);
    return local.toString(kDateTime);
}

QDateTime DateText::toDateTime(const QString &text)
{
    if (text.size() == kDate.size()) {
        const QDate d = QDate::fromString(text, kDate);
        return d.isValid() ? d.startOfDay() : QDateTime();
    }
    if (text.size() != kDateTime.size())
        return {};
    return QDateTime::fromString(text, kDateTime);
}

namespace {
// The number written in text[from, from + count), or -1 when a character is no digit.
int digits(const QString &text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

bool separated(const QString &text, int at, char16_t separator)
{
    return text.at(at).unicode() == separator;
}
} // namespace

std::optional<qint64> DateText::sortKey(const QString &text)
{
    if (text.size() != kDate.size() && text.size() != kDateTime.size())
        return std::nullopt;
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 0 || !separated(text, 4, u'-') || !separated(text, 7, u'-') || !QDate::isValid(year, month, day))
        return std::nullopt;
    qint64 key = (qint64(year) * 100 + month) * 100 + day;
    int hour = 0, minute = 0, second = 0;
    if (text.size() == kDateTime.size()) {
        hour = digits(text, 11, 2);
        minute = digits(text, 14, 2);
        second = digits(text, 17, 2);
        if (!separated(text, 10, u' ') || !separated(text, 13, u':') || !separated(text, 16, u':') ||
            !QTime::isValid(hour, minute, second))
            return std::nullopt;
    }
    return ((key * 100 + hour) * 100 + minute) * 100 + second;
}
