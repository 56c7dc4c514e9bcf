#pragma once

#include <QString>

class TLCommFunction;

// Turns a failed row operation of a query into the data-error dialog.
class TLCommBusiness {
public:
    explicit TLCommBusiness(TLCommFunction &commFunction)
        : m_commFunction(commFunction)
    {
    }
    // "数据操作失败", with the engine's message on the second line of the details.
    void ShowDataError(const QString &errorMessage);

private:
    TLCommFunction &m_commFunction;
};
