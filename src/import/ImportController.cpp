#include "ImportController.h"

#include "CatalogueWriter.h"
#include "ExtEdition.h"
#include "drives/DriveInfo.h"
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
    if (const auto code = StoreDisc(*dialog->rows(), dialog->GetDiscName(), dialog->DriveInfo)) {
        // What the scan passed over stays said once the import is done.
        QStringList said;
        if (dialog->Skipped.any())
            said << dialog->Skipped.text();
        if (!dialog->ArchivesScanned.isEmpty())
            said << dialog->ArchivesScanned;
        if (!said.isEmpty())
            m_progress.SetStatusText(tr("完成导入；%1").arg(said.join(u'；')));
        emit discStored(*code);
    }
}

// Stores disc and rows in one transaction, with the tree and the list disabled while it
// runs.
std::optional<qint64> ImportController::StoreDisc(const FileRowModel &rows, const QString &discName,
                                                  const RDriveInfo &drive)
{
    m_listPanel->setEnabled(false);
    const auto enable = qScopeGuard([this] { m_listPanel->setEnabled(true); });
    return CatalogueWriter::StoreDisc(m_dm, m_commFunction, {discName, drive.DiskLabel, drive.DiskSerial}, rows,
                                      m_progress);
}
