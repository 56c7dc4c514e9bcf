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
    // It first compares the value's length with the pattern's minimumLength (bound before
    // the pattern): a value too short to match is passed over before it is upper-cased and
    // compared, which makes long patterns cost little whatever they hold.
    static QString condition(const QString &column);
    // The fewest characters a value matching the pattern holds: its characters other than
    // the wildcard "%", an escaped one counted once.
    static qsizetype minimumLength(const QString &pattern);

    // The pattern for the pinyin of names and folders (PinyinReading): as pattern() with the
    // blanks left out. Empty unless the text is ASCII alone: a text holding Chinese
    // characters looks for them as they are.
    static QString readingPattern(const QString &text);
    // For the condition on the names or the folders, the one on their pinyin, comparing the
    // full reading and the initials each with the bound reading pattern; empty for the
    // condition on another column.
    static QString readingCondition(const QString &condition);
    static bool isReadingCondition(const QString &condition);
    // The non-empty conditions joined by " or ", with a blank at each end; empty when
    // there are none.
    static QString join(const QStringList &conditions);
};
