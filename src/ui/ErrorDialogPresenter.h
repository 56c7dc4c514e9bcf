#pragma once

#include "store/ErrorPresenter.h"

// Shows errors in the program's error dialog.
class ErrorDialogPresenter : public ErrorPresenter {
public:
    void showError(const QString &message, const QString &details, const QString &caption) override;
};
