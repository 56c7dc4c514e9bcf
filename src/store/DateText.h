#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The program's one text form of a date and time, in local time:
// "yyyy-MM-dd HH:mm:ss", or only "yyyy-MM-dd" when the time is exactly midnight.
// The scan writes it, the catalogue accepts it, the lists show it and the date sort
// reads it back.
class DateText {
public:
    static QString fromDateTime(const QDateTime &value);
    // An invalid QDateTime for a text that is not in one of the two forms.
    static QDateTime toDateTime(const QString &text);
    // A number that orders date texts by their time (yyyyMMddHHmmss), read without
    // building a QDateTime, for sorting long lists; nullopt for a text that is no date.
    static std::optional<qint64> sortKey(const QString &text);
};
