#pragma once

#include <QElapsedTimer>
#include <QString>

// Where long loops report progress and learn of the stop request. The main window is one;
// tests use a recording one.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetStatusText(const QString &text) = 0;
    virtual void SetProgressRange(int max, int min) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Sets the text and the bar, and lets pending window events run (throttled).
    virtual void ReportProgress(const QString &text, int position) = 0;
    // Raised when the user closed the window; a loop ends at its next check.
    virtual bool StopRequested() const = 0;
};

// Lets pending events run from inside a long loop, at most once per interval and always
// on the first call after restart(), so a loop of a million rows stays fast while the
// window still repaints and reacts.
class EventPump {
public:
    explicit EventPump(int intervalMs = 15)
        : m_intervalMs(intervalMs)
    {
    }
    void restart() { m_timer.invalidate(); }
    // True when the next pump() will run the event loop.
    bool due() const { return !m_timer.isValid() || m_timer.elapsed() >= m_intervalMs; }
    // Returns true when it ran the event loop.
    bool pump();

private:
    int m_intervalMs;
    QElapsedTimer m_timer;
};
