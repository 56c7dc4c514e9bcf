#pragma once

#include <QString>

// How a search text becomes the patterns a search binds (SearchStatement). The text reaches
// the statement only as a bound value: a quote is an ordinary character, "%" and "_" typed
// by the user match themselves, and "*" matches any run of characters, also none.
class SearchCondition {
public:
    // The LIKE pattern for a search text: trimmed, "*" as the wildcard, ASCII letters
    // upper-cased, any text before and after. Empty for a text that is empty once trimmed.
    static QString pattern(const QString &text);
    // The fewest characters a value matching the pattern holds: its characters other than
    // the wildcard "%", an escaped one counted once.
    static qsizetype minimumLength(const QString &pattern);

    // The pattern for the pinyin of names and folders (PinyinReading): as pattern() with the
    // blanks left out. Empty unless the text is ASCII alone: a text holding Chinese
    // characters looks for them as they are.
    static QString readingPattern(const QString &text);
};
