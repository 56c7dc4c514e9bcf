#include "ImportController.h"

#include "CatalogueWriter.h"
#include "ExtEdition.h"
#include "drives/DriveInfo.h"
#include "store/FileRowModel.h"
#include "ui/ActionStates.h"
#include "ui/StatusProgress.h"

#include <QScopeGuard>
#include <QWidget>

using namespace Qt::StringLiterals;

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
    const auto &digests = dialog->Digests;
    std::optional<ImportRecord> record = dialog->importRecord();
    if (record) {
        record->options.insert(u"checksums"_s, digests.has_value());
        record->options.insert(u"archives"_s, !dialog->ArchivesScanned.isEmpty());
    }
    if (const auto code = StoreDisc(*dialog->rows(), dialog->GetDiscName(), dialog->DriveInfo, record,
                                    digests ? &*digests : nullptr)) {
        // What the scan passed over, what it made of archives and the files that could not
        // be read stay said once the import is done.
        QStringList notes{dialog->Skipped.text(), dialog->ArchivesScanned, dialog->Checksums.text()};
        notes.removeAll(QString());
        if (!notes.isEmpty())
            m_progress.SetStatusText(tr("完成导入；%1").arg(notes.join(tr("；"))));
        emit discStored(*code);
    }
}

// Stores disc and rows in one transaction, with the tree and the list disabled while it
// runs.
std::optional<qint64> ImportController::StoreDisc(const FileRowModel &rows, const QString &discName,
                                                  const RDriveInfo &drive, const std::optional<ImportRecord> &record,
                                                  const QList<QByteArray> *digests)
{
    m_listPanel->setEnabled(false);
    const auto enable = qScopeGuard([this] { m_listPanel->setEnabled(true); });
    return CatalogueWriter::StoreDisc(m_dm, m_commFunction, {discName, drive.DiskLabel, drive.DiskSerial, record}, rows,
                                      m_progress, digests);
}
