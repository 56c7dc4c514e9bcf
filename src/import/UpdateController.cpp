#include "UpdateController.h"

#include "DiscDifferenceDialog.h"
#include "DiscUpdate.h"
#include "store/DbError.h"
#include "store/LCommFunction.h"
#include "ui/ActionStates.h"
#include "ui/Prompts.h"
#include "ui/StatusProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QScopeGuard>

namespace {

// The status line's progress, shown as well in a small window with a 停止 button of its
// own: a stop there, or the window closing, ends the work.
class StoppableProgress : public ProgressSink {
public:
    StoppableProgress(StatusProgress &status, QWidget *parent)
        : m_status(status)
        , m_dialog(parent)
    {
        m_dialog.setObjectName(QStringLiteral("dlgUpdateProgress"));
        m_dialog.setWindowTitle(QCoreApplication::translate("UpdateController", "更新"));
        m_dialog.setCancelButtonText(QCoreApplication::translate("UpdateController", "停止"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_dialog.setMinimumDuration(0);
        m_dialog.setRange(0, 0);
        m_dialog.setMinimumWidth(360);
        QObject::connect(&m_dialog, &QProgressDialog::canceled, [this] { m_stop = true; });
        m_dialog.show();
    }

    void SetStatusText(const QString &value) override
    {
        m_status.SetStatusText(value);
        m_dialog.setLabelText(value);
    }
    void SetProgressRange(int max, int min) override
    {
        m_status.SetProgressRange(max, min);
        m_dialog.setRange(min, max);
    }
    void SetProgressPosition(int position) override
    {
        m_status.SetProgressPosition(position);
        m_dialog.setValue(position);
    }
    void ReportProgress(const QString &value, int position) override
    {
        m_dialog.setLabelText(value);
        m_dialog.setValue(position);
        m_status.ReportProgress(value, position);
    }
    bool StopRequested() const override { return m_stop || m_status.StopRequested(); }

private:
    StatusProgress &m_status;
    QProgressDialog m_dialog;
    bool m_stop = false;
};

} // namespace

UpdateController::UpdateController(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts,
                                   StatusProgress &progress, ActionStates &states, QWidget *window,
                                   QWidget *listPanel)
    : QObject(window)
    , m_dm(dm)
    , m_commFunction(commFunction)
    , m_prompts(prompts)
    , m_progress(progress)
    , m_states(states)
    , m_window(window)
    , m_listPanel(listPanel)
    , m_confirm([window](const QString &discName, const DiscUpdate &update) {
        TfrmDiscDifference dialog(discName, update, window);
        return dialog.exec() == QDialog::Accepted;
    })
{
}

void UpdateController::update(qint64 discCode, const QString &discName)
{
    ActionStates::BusyScope busy(m_states);
    DiscUpdate update(m_dm, discCode);
    DiscUpdate::Result result;
    {
        StoppableProgress progress(m_progress, m_window);
        progress.SetStatusText(tr("正在扫描光盘“%1”的来源……").arg(discName));
        result = update.prepare(progress);
    }
    m_progress.SetStatusText(QString());
    m_progress.SetProgressRange(0, 0);
    switch (result) {
    case DiscUpdate::Result::NoRecord:
        m_prompts.message(tr("光盘“%1”没有导入记录，无法更新。").arg(discName));
        return;
    case DiscUpdate::Result::NoSource:
        m_prompts.message(tr("找不到光盘的来源：%1").arg(DiscUpdate::sourceText(*update.record())));
        return;
    case DiscUpdate::Result::Stopped:
        m_progress.SetStatusText(tr("更新已停止，光盘没有改变"));
        return;
    case DiscUpdate::Result::Ready:
        break;
    }
    if (m_confirm(discName, update) && !update.difference().isEmpty())
        applyUpdate(update, discCode, discName);
}

void UpdateController::applyUpdate(DiscUpdate &update, qint64 discCode, const QString &discName)
{
    m_listPanel->setEnabled(false);
    const auto enable = qScopeGuard([this] { m_listPanel->setEnabled(true); });
    StoppableProgress progress(m_progress, m_window);
    progress.SetStatusText(tr("正在更新光盘“%1”……").arg(discName));
    try {
        if (!update.apply(progress)) {
            m_progress.SetStatusText(tr("更新已停止，光盘没有改变"));
            return;
        }
    } catch (const DbError &error) {
        m_progress.SetStatusText(QString());
        m_commFunction.ShowError(tr("更新失败"), tr("光盘“%1”没有更新：\r").arg(discName) + error.message(),
                                 QString());
        return;
    }
    // The list shown again first: it clears the status line.
    emit discUpdated(discCode);
    m_progress.SetStatusText(tr("完成更新：%1").arg(update.difference().countsText()));
}
