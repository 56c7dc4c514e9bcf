#include "ProgressSink.h"

#include <QCoreApplication>

bool EventPump::pump()
{
    if (!due())
        return false;
    m_timer.start();
    QCoreApplication::processEvents();
    return true;
}
