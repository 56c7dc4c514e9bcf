#include "ProgressSink.h"

#include <QCoreApplication>

bool EventPump::pump()
{
    if (m_timer.isValid() && m_timer.elapsed() < m_intervalMs)
        return false;
    m_timer.start();
    QCoreApplication::processEvents();
    return true;
}
