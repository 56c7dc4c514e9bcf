#pragma once

#include <QPushButton>

class QAction;

// A push button that stands for an action: it shows the action's caption and enabled
// state as they change, and a click triggers the action.
class ActionButton : public QPushButton {
public:
    ActionButton(QAction *action, QWidget *parent);

    QAction *action() const { return m_action; }

private:
    void follow();

    QAction *m_action;
};
