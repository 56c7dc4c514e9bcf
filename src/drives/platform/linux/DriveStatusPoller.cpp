#include "DriveStatusPoller.h"

DriveStatusPoller::DriveStatusPoller(std::shared_ptr<DriveControl> control, QObject *parent)
    : MediaEventSource(parent)
    , m_control(std::move(control))
{
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &DriveStatusPoller::poll);
}

bool DriveStatusPoller::watch(const QList<OpticalDevice> &drives)
{
    for (const OpticalDevice &drive : drives) {
        if (m_present.contains(drive.node))
            continue;
        m_order.append(drive.node);
        m_present.insert(drive.node, m_control->status(drive.node).ready());
    }
    if (!m_order.isEmpty())
        m_timer.start();
    return true;
}

void DriveStatusPoller::poll()
{
    QList<MediaChange> changes;
    for (const QString &node : std::as_const(m_order)) {
        const bool present = m_control->status(node).ready();
        bool &last = m_present[node];
        if (present != last) {
            last = present;
            changes.append(MediaChange{node, present});
        }
    }
    if (!changes.isEmpty())
        emit mediaChanged(changes);
}
