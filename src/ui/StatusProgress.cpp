#include "StatusProgress.h"

#include "ListFeeder.h"
#include "MyStatusBar.h"

#include <QLabel>
#include <QProgressBar>

StatusProgress::StatusProgress(TMyStatusBar &statusBar)
    : m_statusBar(statusBar)
{
}

void StatusProgress::SetStatusText(const QString &text)
{
    m_statusBar.Panel7->setText(text);
}

void StatusProgress::SetProgressRange(int max, int min)
{
    QProgressBar *bar = m_statusBar.pbQl;
    // Qt shows an equal minimum and maximum as a busy bar; the program wants it empty.
    if (max <= min)
        bar->setRange(min, min + 1);
    else
        bar->setRange(min, max);
    bar->setValue(min);
    m_pump.restart();
}

void StatusProgress::SetProgressPosition(int position)
{
    QProgressBar *bar = m_statusBar.pbQl;
    bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void StatusProgress::ReportProgress(const QString &text, int position)
{
    if (m_pump.due()) {
        for (ListFeeder *feeder : m_feeders)
            feeder->flush();
        m_pump.pump();
    }
    SetProgressPosition(position);
    SetStatusText(text);
}
