#pragma once

#include <QObject>
#include <functional>

class ActionStates;
class DiscUpdate;
class Prompts;
class QWidget;
class StatusProgress;
class TLCommFunction;
class TdmQL;

// 更新 of the main window: the selected disc's source scanned again, the difference shown
// (TfrmDiscDifference), and on 确定 written in one transaction. The scan and the writing
// show their progress with a 停止 button; stopped, nothing changes.
class UpdateController : public QObject {
    Q_OBJECT
public:
    // window is disabled while the difference is written, listPanel (the tree and the list)
    // as well.
    UpdateController(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, StatusProgress &progress,
                     ActionStates &states, QWidget *window, QWidget *listPanel);

    void update(qint64 discCode, const QString &discName);

    // How the difference is put to the user: true to apply it. The dialog unless a test
    // answers instead.
    using Confirmation = std::function<bool(const QString &discName, const DiscUpdate &update)>;
    void setConfirmation(Confirmation confirmation) { m_confirm = std::move(confirmation); }

signals:
    // The files of the disc of this code changed.
    void discUpdated(qint64 discCode);

private:
    void applyUpdate(DiscUpdate &update, qint64 discCode, const QString &discName);

    TdmQL &m_dm;
    TLCommFunction &m_commFunction;
    Prompts &m_prompts;
    StatusProgress &m_progress;
    ActionStates &m_states;
    QWidget *m_window;
    QWidget *m_listPanel;
    Confirmation m_confirm;
};
