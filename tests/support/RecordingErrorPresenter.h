#pragma once

#include "store/ErrorPresenter.h"

#include <QList>
#include <QString>

// Records every error report instead of showing it.
class RecordingErrorPresenter : public ErrorPresenter {
public:
    struct Call {
        QString message;
        QString details;
        QString caption;
    };
    void showError(const QString &message, const QString &details, const QString &caption) override
    {
        calls.append({message, details, caption});
    }
    QList<Call> calls;
};
