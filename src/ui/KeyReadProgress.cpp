#include "KeyReadProgress.h"

#include "StatusProgress.h"

namespace {
constexpr qint64 kQuietMs = 100;
} // namespace

KeyReadProgress::KeyReadProgress(StatusProgress &progress, QString text)
    : m_progress(progress)
    , m_text(std::move(text))
{
    m_started.start();
}

FileKeyReads::Going KeyReadProgress::going()
{
    return [this](qsizetype read) {
        if (m_started.elapsed() >= kQuietMs)
            m_progress.ReportProgress(m_text.arg(read), 0);
        m_stopped = m_progress.StopRequested();
        return !m_stopped;
    };
}
