#pragma once

#include "DiscDetails.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringMatcher>

// The filter above the disc tree (and quillon-cli discs --where): which discs hold a text
// in their name, label, location, description or keywords, letter case ignored. A text of
// ASCII alone also finds Chinese characters by their pinyin as the search dialog's 拼音 does
// (PinyinReading: the full reading or the initials, blanks left out), so "sf" finds 书房.
// The texts are prepared once when the discs are set; each match then only looks for a
// substring, which keeps a keystroke short for thousands of discs.
class DiscFilter {
public:
    void setDiscs(const QList<DiscOverview> &discs);
    // Prepares the texts of one disc anew (after its properties changed) or adds it.
    void update(const DiscOverview &disc);
    void remove(qint32 code);

    // The text as it will be matched: case-folded and trimmed; its pinyin form, if any.
    struct Needle {
        QString text;
        QString reading;
        QStringMatcher textMatcher;
        QStringMatcher readingMatcher;
        bool isEmpty() const { return text.isEmpty(); }
    };
    static Needle needle(const QString &typed);

    // The codes of the discs that match, in the order they were set. A text holding the one
    // matched before (typing on) only looks among that one's matches: a disc holding the
    // longer text holds the shorter one.
    QList<qint32> matching(const QString &typed);

private:
    struct Entry {
        qint32 code = 0;
        QString text;     // the fields case-folded, one line each
        QString readings; // their pinyin, full and initials
    };
    static Entry entryOf(const DiscOverview &disc);
    static bool matches(const Entry &entry, const Needle &needle);

    QList<Entry> m_entries;
    QHash<qint32, qsizetype> m_positions; // of each code in m_entries
    void forgetLastMatch();
    QString m_lastText; // of the last needle matched; null when there is none
    QList<qsizetype> m_lastMatches;
};
