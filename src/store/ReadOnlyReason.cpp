#include "ReadOnlyReason.h"

#include <QCoreApplication>

QString ReadOnlyReason::text() const
{
    switch (m_kind) {
    case Kind::NewerVersion:
        return QCoreApplication::translate("ReadOnlyReason", "这个光盘索引库由较新版本的程序写入，不能修改");
    case Kind::Writable:
        break;
    }
    return QString();
}
