#include "ActionButton.h"

#include <QAction>

ActionButton::ActionButton(QAction *action, QWidget *parent)
    : QPushButton(parent)
    , m_action(action)
{
    follow();
    connect(action, &QAction::changed, this, &ActionButton::follow);
    connect(this, &QPushButton::clicked, action, &QAction::trigger);
}

void ActionButton::follow()
{
    setText(m_action->text());
    setEnabled(m_action->isEnabled());
}
