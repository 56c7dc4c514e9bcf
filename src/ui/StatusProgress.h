#pragma once

#include "store/ProgressSink.h"

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
    void ReportProgress(const QString &text, int position) override;
    bool StopRequested() const override { return m_stopRequest; }

    void RequestStop() { m_stopRequest = true; }
    void ClearStopRequest() { m_stopRequest = false; }

private:
    TMyStatusBar &m_statusBar;
    bool m_stopRequest = false;
    EventPump m_pump;
};
