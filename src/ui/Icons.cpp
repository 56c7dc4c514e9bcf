#include "Icons.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
QIcon fromList(const QStringList &names, int index)
{
    if (index < 0 || index >= names.size())
        return {};
    return QIcon(u":/icons/%1.svg"_s.arg(names.at(index)));
}
} // namespace

QIcon Icons::il(int index)
{
    static const QStringList names{u"import"_s, u"search"_s, u"delete"_s, u"remark"_s, u"export"_s};
    return fromList(names, index);
}

QIcon Icons::ilQl(int index)
{
    static const QStringList names{u"disc"_s, u"disc-selected"_s, u"library"_s};
    return fromList(names, index);
}

QIcon Icons::program()
{
    return QIcon(u":/icons/quillon.svg"_s);
}
