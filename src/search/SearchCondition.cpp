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

QString SearchCondition::condition(const QString &column)
{
    return u"(UCase(%1) like ? escape '\\')"_s.arg(column);
}

QString SearchCondition::join(const QStringList &conditions)
{
    QStringList present;
    for (const QString &condition : conditions)
        if (!condition.isEmpty())
            present.append(condition);
    return present.isEmpty() ? QString() : u" "_s + present.join(u" or "_s) + u" "_s;
}
