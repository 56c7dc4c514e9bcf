#pragma once

#include "DriveControl.h"
#include "MediaEventSource.h"

#include <QHash>
#include <QTimer>

// Asks drives for their state every two seconds, for drives the kernel does not poll or
// whose udev events do not arrive. A drive that answers "disc OK" has a medium; any
// other answer, a failure included, means none.
class DriveStatusPoller : public MediaEventSource {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 2000;

    explicit DriveStatusPoller(std::shared_ptr<DriveControl> control, QObject *parent = nullptr);

    bool watch(const QList<OpticalDevice> &drives) override;
    bool isPolling() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }

    // One round of questions (what each tick does).
    void poll();

private:
    std::shared_ptr<DriveControl> m_control;
    QTimer m_timer;
    QStringList m_order;
    QHash<QString, bool> m_present; // by device node
};
