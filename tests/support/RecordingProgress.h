#pragma once

#include "store/ProgressSink.h"

#include <QStringList>
#include <functional>

// A progress sink that records what a loop reports and can raise the stop request.
class RecordingProgress : public ProgressSink {
public:
    QStringList texts;
    QList<int> positions;
    int rangeMax = -1;
    bool stop = false;
    // Called on every ReportProgress, after recording it.
    std::function<void(int position)> onReport;

    void SetStatusText(const QString &text) override { texts.append(text); }
    void SetProgressRange(int max, int) override { rangeMax = max; }
    void SetProgressPosition(int position) override { positions.append(position); }
    void ReportProgress(const QString &text, int position) override
    {
        positions.append(position);
        texts.append(text);
        if (onReport)
            onReport(position);
    }
    bool StopRequested() const override { return stop; }
};
