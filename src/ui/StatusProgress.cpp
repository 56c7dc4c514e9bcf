#include "StatusProgress.h"

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

// The label and the bar are painted only when events run, so they change only then and at
// the last step, which stays on show: setting them at every row of 100,000 cost a second.
void StatusProgress::ReportProgress(const QString &text, int position)
{
    const bool due = m_pump.due();
    if (!due && position < m_statusBar.pbQl->maximum())
        return;
    SetProgressPosition(position);
    SetStatusText(text);
    if (due)
        m_pump.pump();
}
