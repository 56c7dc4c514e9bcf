#include "VerifyController.h"

#include "DiscNode.h"
#include "VerifyDialog.h"
#include "import/DiscVerification.h"
#include "search/ExportController.h"
#include "store/DiscVerifications.h"
#include "store/DmQL.h"
#include "ui/ActionStates.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QDir>
#include <QScopeGuard>

VerifyController::VerifyController(TdmQL &dm, Prompts &prompts, StatusProgress &progress, ActionStates &states,
                                   QWidget *window)
    : QObject(window)
    , m_dm(dm)
    , m_prompts(prompts)
    , m_progress(progress)
    , m_states(states)
    , m_window(window)
{
}

void VerifyController::verify(const TDiscNode &disc)
{
    std::optional<DiscVerification::Source> source = DiscVerification::locate(m_dm, disc.DiskCode);
    if (!source) {
        const QString folder = m_prompts.existingFolder(
            tr("找不到光盘“%1”：请把它放进驱动器，或选择它所在的文件夹").arg(disc.DiskName), QDir::homePath());
        if (folder.isEmpty())
            return;
        source = DriveRoot::ofFolder(folder);
        if (!source) {
            m_prompts.critical(tr("校验光盘"), tr("不是可以读的文件夹：%1").arg(folder));
            return;
        }
    }
    std::optional<DiscVerification::Outcome> outcome;
    {
        ActionStates::BusyScope busy(m_states);
        const auto closing = qScopeGuard([this] { m_progress.SetProgressRange(0, 0); });
        m_progress.SetStatusText(tr("正在校验光盘“%1”...").arg(disc.DiskName));
        outcome = DiscVerification::run(m_dm, disc.DiskCode, *source, m_progress);
        if (!outcome) {
            m_progress.SetStatusText(tr("校验已停止"));
            return;
        }
        DiscVerificationStore::record(m_dm.aConQl.connectionName(), disc.DiskCode, outcome->counts);
        m_progress.SetStatusText(DiscVerification::summary(outcome->counts));
    }
    emit verified(disc.DiskCode);
    TfrmVerify dialog(disc.DiskName, *outcome, m_window);
    ExportController exporter(m_dm, m_prompts, m_progress, m_states, *dialog.lvVerify, dialog.lvVerify);
    dialog.setExport(&exporter);
    dialog.exec();
}
