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

void ActionStates::setWriting(const QList<QAction *> &actions)
{
    m_writing = actions;
    update();
}

void ActionStates::setReadOnly(const ReadOnlyReason &reason)
{
    m_readOnly = reason;
    update();
    showReadOnlyReason();
}

void ActionStates::showReadOnlyReason()
{
    if (!m_readOnly.readOnly())
        return;
    const QString reason = m_readOnly.text();
    for (QAction *action : std::as_const(m_writing))
        if (!action->toolTip().endsWith(reason))
            action->setToolTip(action->toolTip() + u'\n' + reason);
}

void ActionStates::update()
{
    for (auto it = m_allowed.cbegin(); it != m_allowed.cend(); ++it) {
        QAction *action = it.key();
        const bool held = (busy() && m_changing.contains(action)) || (m_readOnly.readOnly() && m_writing.contains(action));
        action->setEnabled(it.value() && !held);
    }
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
