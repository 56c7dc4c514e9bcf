#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// How a search text becomes conditions on the file records. The text reaches the
// statement only as a bound value: a quote is an ordinary character, "%" and "_" typed
// by the user match themselves, and "*" matches any run of characters, also none.
class SearchCondition {
public:
    // The LIKE pattern for a search text: trimmed, "*" as the wildcard, ASCII letters
    // upper-cased, any text before and after. Empty for a text that is empty once trimmed.
    static QString pattern(const QString &text);
    // The condition on one column, comparing its upper-cased value with the bound pattern.
    static QString condition(const QString &column);
    // The non-empty conditions joined by " or ", with a blank at each end; empty when
    // there are none.
    static QString join(const QStringList &conditions);
};
