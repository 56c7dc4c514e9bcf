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
