#pragma once

#include <QHash>
#include <QList>

class QAction;

// The enabled state of the main window's actions. Each action has its own state (what the
// features allow); while a BusyScope lives, the actions that change the list or the
// catalogue are disabled as well, and they come back as they were when the last one ends.
class ActionStates {
public:
    // Registers an action with its own state.
    void add(QAction *action, bool allowed = true);
    // The actions a busy scope disables.
    void setChanging(const QList<QAction *> &actions);
    // Sets an action's own state (what it shows when nothing is busy).
    void setAllowed(QAction *action, bool allowed);
    bool busy() const { return m_busy > 0; }

    class BusyScope {
    public:
        explicit BusyScope(ActionStates &states);
        ~BusyScope();
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        ActionStates &m_states;
    };

private:
    void update();

    QHash<QAction *, bool> m_allowed;
    QList<QAction *> m_changing;
    int m_busy = 0;
};
