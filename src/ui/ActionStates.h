#pragma once

#include "store/ReadOnlyReason.h"

#include <QHash>
#include <QList>

class QAction;

// The enabled state of the main window's actions. Each action has its own state (what the
// features allow); while a BusyScope lives, the actions that change the list or the
// catalogue are disabled as well, and they come back as they were when the last one ends.
// While the catalogue is read-only (ReadOnlyReason), the actions that write it stay
// disabled and their tooltips name the reason.
class ActionStates {
public:
    // Registers an action with its own state.
    void add(QAction *action, bool allowed = true);
    // The actions a busy scope disables.
    void setChanging(const QList<QAction *> &actions);
    // Sets an action's own state (what it shows when nothing is busy).
    void setAllowed(QAction *action, bool allowed);
    // The actions that write the catalogue.
    void setWriting(const QList<QAction *> &actions);
    void setReadOnly(const ReadOnlyReason &reason);
    const ReadOnlyReason &readOnly() const { return m_readOnly; }
    // Adds the reason to the writing actions' tooltips; called after their texts are set.
    void showReadOnlyReason();
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
    QList<QAction *> m_writing;
    ReadOnlyReason m_readOnly;
    int m_busy = 0;
};
