#include "ReplaceAll.h"

void ReplaceAll(QString &S, const QString &Old, const QString &New)
{
    if (Old.isEmpty() || S.size() < Old.size())
        return;
    QString result;
    qsizetype from = 0;
    for (qsizetype at = S.indexOf(Old, from); at >= 0; at = S.indexOf(Old, from)) {
        result += QStringView(S).sliced(from, at - from);
        result += New;
        from = at + Old.size();
    }
    result += QStringView(S).sliced(from);
    S = result;
}

QString ReplaceAllCopy(const QString &S, const QString &Old, const QString &New)
{
    QString copy = S;
    ReplaceAll(copy, Old, New);
    return copy;
}
