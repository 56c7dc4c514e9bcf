#include "ErrorDialogPresenter.h"

#include "FrmErrorShow.h"

void ErrorDialogPresenter::showError(const QString &message, const QString &details, const QString &caption)
{
    TfrmErrorShow dialog;
    dialog.Fill(message, details, caption);
    dialog.exec();
}
