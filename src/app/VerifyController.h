#pragma once

#include <QObject>

class ActionStates;
class Prompts;
class QWidget;
class StatusProgress;
class TdmQL;
struct TDiscNode;

// 校验光盘 of the selected disc: finds the disc (in a drive, else where it was imported from,
// else asks for its folder), reads it again with the status line's progress, keeps the
// verification with the disc and shows the result.
class VerifyController : public QObject {
    Q_OBJECT
public:
    VerifyController(TdmQL &dm, Prompts &prompts, StatusProgress &progress, ActionStates &states, QWidget *window);

    void verify(const TDiscNode &disc);

signals:
    // A verification of the disc was kept: its node shows the new state.
    void verified(qint32 discCode);

private:
    TdmQL &m_dm;
    Prompts &m_prompts;
    StatusProgress &m_progress;
    ActionStates &m_states;
    QWidget *m_window;
};
