#include "ImportController.h"

#include "CatalogueWriter.h"
#include "ExtEdition.h"
#include "store/FileRowModel.h"
#include "ui/ActionStates.h"
#include "ui/StatusProgress.h"

#include <QScopeGuard>
#include <QWidget>

ImportController::ImportController(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, StatusProgress &progress,
                                   ActionStates &states, QWidget *window, QWidget *listPanel)
    : QObject(window)
    , m_dm(dm)
    , m_commFunction(commFunction)
    , m_prompts(prompts)
    , m_progress(progress)
    , m_states(states)
    , m_window(window)
    , m_listPanel(listPanel)
{
}

void ImportController::actCDimpExecute()
{
    runImport(2);
}

void ImportController::actDriverImpExecute()
{
    runImport(3);
}

void ImportController::runImport(int mode)
{
    ActionStates::BusyScope busy(m_states);
    auto *dialog = new TfrmExtEdition(m_dm, m_commFunction, m_prompts, m_window);
    const auto closing = qScopeGuard([this, dialog] {
        m_window->setEnabled(true);
        delete dialog;
    });
    dialog->SetMode(mode);
    if (dialog->exec() != QDialog::Accepted)
        return;
    dialog->hide();
    m_window->setEnabled(false);
    const QString name = dialog->GetDiscName();
    StoreDiscFiles(*dialog->rows(), name);
    emit discStored(name);
}

// Stores the rows under the disc's code in one transaction, with the tree and the list
// disabled while it runs.
void ImportController::StoreDiscFiles(const FileRowModel &rows, const QString &discName)
{
    m_listPanel->setEnabled(false);
    const auto enable = qScopeGuard([this] { m_listPanel->setEnabled(true); });
    CatalogueWriter::StoreDiscFiles(m_dm, m_commFunction, rows, discName, m_progress);
}
