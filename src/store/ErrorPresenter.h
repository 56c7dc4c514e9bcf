#pragma once

#include <QString>

// Shows the program's error report. The windowed program shows the error dialog;
// tests record the calls.
class ErrorPresenter {
public:
    virtual ~ErrorPresenter() = default;
    // Returns when the user has closed the report.
    virtual void showError(const QString &message, const QString &details, const QString &caption) = 0;
};
