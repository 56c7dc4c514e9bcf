#include "LCommBusiness.h"

#include "LCommFunction.h"

using namespace Qt::StringLiterals;

void TLCommBusiness::ShowDataError(const QString &errorMessage)
{
    m_commFunction.ShowError(u"数据操作失败"_s, u"系统提示：\r  "_s + errorMessage, QString());
}
