#pragma once

#include <QString>

// How the Chinese characters of a name read in pinyin, so that a search typed without an
// input method finds them: 周杰伦 - 七里香.mp3 reads "ZHOUJIELUN" + "QILIXIANG" in full and
// "ZJL" + "QLX" by initials. Only the runs of Chinese characters and full-width letters and
// digits (ＭＰ３ reads "MP3") are spelled; blanks between them are left out, any other
// character ends a run, and runs are joined by U+0001, which no search text holds. Each
// character has one reading, ICU's Han-Latin transliteration of it alone, without tone:
// 行 reads XING, 长 ZHANG, 乐 LE, 重 ZHONG whatever the word.
class PinyinReading {
public:
    enum class Part { Full, Initials };

    // Upper-case ASCII; empty when the text holds no Chinese character or full-width form.
    static QString spell(const QString &text, Part part);
    // The text the search index holds for a value: the full reading and the initials, each
    // followed by two U+0001, so that every character begins a three-character term; empty
    // when the value has no reading.
    static QString indexedText(const QString &text);
};
