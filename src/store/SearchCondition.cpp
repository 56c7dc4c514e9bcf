#include "SearchCondition.h"

using namespace Qt::StringLiterals;

QString SearchCondition::pattern(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= u' ')
        ++first;
    while (last > first && text.at(last - 1).unicode() <= u' ')
        --last;
    if (first == last)
        return {};
    QString out = u"%"_s;
    for (qsizetype i = first; i < last; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        if (c == u'*')
            out += u'%';
        else if (c >= u'a' && c <= u'z')
            out += QChar(c - u'a' + u'A');
        else
            out += QChar(c);
    }
    return out + u'%';
}

QString SearchCondition::readingPattern(const QString &text)
{
    QString letters;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return {};
        if (c != u' ' && c != u'\t')
            letters += c;
    }
    return pattern(letters);
}

qsizetype SearchCondition::minimumLength(const QString &pattern)
{
    qsizetype length = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'\\' && i + 1 < pattern.size())
            ++i;
        else if (c == u'%' || c.isLowSurrogate())
            continue;
        ++length;
    }
    return length;
}
