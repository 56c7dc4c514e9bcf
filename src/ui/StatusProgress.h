#pragma once

#include "store/ProgressSink.h"

#include <QElapsedTimer>

#include <vector>

class ListFeeder;
class TMyStatusBar;

// The main window's progress: the status text and bar of its status line, the event pump
// that keeps the window alive in long loops, and the stop request raised when the window
// closes. Every feature that runs a long loop reports here.
class StatusProgress : public ProgressSink {
public:
    explicit StatusProgress(TMyStatusBar &statusBar);

    void SetStatusText(const QString &text) override;
    void SetProgressRange(int max, int min) override;
    void SetProgressPosition(int position) override;
    // Hands every live feeder's rows to its list before events run.
    void ReportProgress(const QString &text, int position) override;
    bool StopRequested() const override { return m_stopRequest; }

    void RequestStop() { m_stopRequest = true; }
    void ClearStopRequest() { m_stopRequest = false; }

private:
    friend class ListFeeder;
    TMyStatusBar &m_statusBar;
    bool m_stopRequest = false;
    EventPump m_pump;
    // The list takes the rows fed to it less often than events run: each batch makes the
    // view lay out its rows again.
    QElapsedTimer m_fed;
    std::vector<ListFeeder *> m_feeders;
};
