#include "ActionStates.h"

#include <QAction>

void ActionStates::add(QAction *action, bool allowed)
{
    m_allowed.insert(action, allowed);
    update();
}

void ActionStates::setChanging(const QList<QAction *> &actions)
{
    m_changing = actions;
    update();
}

void ActionStates::setAllowed(QAction *action, bool allowed)
{
    m_allowed[action] = allowed;
    update();
}

void ActionStates::update()
{
    for (auto it = m_allowed.cbegin(); it != m_allowed.cend(); ++it)
        it.key()->setEnabled(it.value() && !(busy() && m_changing.contains(it.key())));
}

ActionStates::BusyScope::BusyScope(ActionStates &states)
    : m_states(states)
{
    ++m_states.m_busy;
    m_states.update();
}

ActionStates::BusyScope::~BusyScope()
{
    --m_states.m_busy;
    m_states.update();
}
