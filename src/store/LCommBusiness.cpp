#include "LCommBusiness.h"

#include "LCommFunction.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

void TLCommBusiness::ShowDataError(const QString &errorMessage)
{
    m_commFunction.ShowError(QCoreApplication::translate("TLCommBusiness", "数据操作失败"),
                             QCoreApplication::translate("TLCommBusiness", "系统提示：") + u"\r  "_s + errorMessage,
                             QString());
}
