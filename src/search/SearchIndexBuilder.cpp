#include "SearchIndexBuilder.h"

#include "store/DbError.h"
#include "store/ProgressSink.h"
#include "store/SearchIndex.h"
#include "store/SqlFunctions.h"

#include <QElapsedTimer>
#include <QSqlDatabase>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
constexpr int kBatchMs = 100;
constexpr int kWaitMs = 500;
constexpr int kPollMs = 1000;
constexpr int kBuildAllRows = 20000;

// Names and folders, then their pinyin: each half of the work.
int percentDone(const SearchIndex::Progress &progress)
{
    const qint64 done = progress.indexedUpTo + progress.readUpTo;
    return progress.lastRow > 0 ? int(std::clamp<qint64>(done * 50 / progress.lastRow, 0, 99)) : 0;
}

bool workLeft(const SearchIndex::Progress &progress)
{
    return progress.tail() > 0 || progress.readingsWorn();
}
} // namespace

SearchIndexBuilder::SearchIndexBuilder(QString connectionName, ProgressSink &progress, std::function<bool()> idle,
                                       QObject *parent, qint64 reportedRows)
    : QObject(parent)
    , m_connectionName(std::move(connectionName))
    , m_progress(progress)
    , m_idle(std::move(idle))
    , m_reportedRows(reportedRows)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { step(); });
}

void SearchIndexBuilder::start()
{
    m_timer.start(0);
}

bool SearchIndexBuilder::step()
{
    if (m_progress.StopRequested()) {
        stop();
        return false;
    }
    // The import's transaction and long loops pump events: no batch may run inside them.
    if (!m_idle() || insideTransaction(QSqlDatabase::database(m_connectionName, false))) {
        m_ownsStatusText = false;
        m_timer.start(kWaitMs);
        return true;
    }
    try {
        const std::optional<SearchIndex::Progress> before = SearchIndex::progress(m_connectionName);
        if (!before) {
            stop(); // a catalogue that could not take the index: searches scan
            return false;
        }
        if (!workLeft(*before)) {
            finishReport();
            m_timer.start(kPollMs);
            return true;
        }
        if (!m_reporting && before->tail() >= m_reportedRows) {
            m_reporting = m_ownsStatusText = true;
            m_progress.SetStatusText(tr("正在建立搜索索引……"));
        }
        QElapsedTimer clock;
        clock.start();
        const SearchIndex::Progress progress = SearchIndex::buildBatch(m_connectionName, m_batchRows);
        adaptBatch(clock.elapsed());
        if (m_reporting)
            report(progress);
    } catch (const DbError &) {
        m_progress.SetProgressRange(0, 0);
        stop(); // the file cannot be written now; the next run tries again
        return false;
    }
    m_timer.start(0);
    return true;
}

void SearchIndexBuilder::finishReport()
{
    if (!m_reporting)
        return;
    m_reporting = false;
    m_progress.SetProgressRange(0, 0);
    if (m_ownsStatusText)
        m_progress.SetStatusText(tr("搜索索引已建好"));
}

void SearchIndexBuilder::stop()
{
    m_timer.stop();
}

void SearchIndexBuilder::report(const SearchIndex::Progress &progress)
{
    const int percent = percentDone(progress);
    m_progress.SetProgressRange(100, 0);
    m_progress.SetProgressPosition(percent);
    if (m_ownsStatusText)
        m_progress.SetStatusText(tr("正在建立搜索索引：%1%").arg(percent));
}

// Batches of about kBatchMs keep the window responsive whatever the speed of the machine.
void SearchIndexBuilder::adaptBatch(qint64 elapsedMs)
{
    const qint64 scaled = m_batchRows * kBatchMs / std::max<qint64>(elapsedMs, 1);
    m_batchRows = int(std::clamp<qint64>(scaled, m_batchRows / 2, qint64(m_batchRows) * 2));
    m_batchRows = std::clamp(m_batchRows, 200, 200000);
}

bool SearchIndexBuilder::buildAll(const QString &connectionName, ProgressSink &progress)
{
    std::optional<SearchIndex::Progress> state = SearchIndex::progress(connectionName);
    if (!state)
        return false;
    if (!workLeft(*state))
        return true;
    progress.SetProgressRange(100, 0);
    const QString text = tr("正在建立搜索索引……");
    progress.ReportProgress(text, percentDone(*state));
    while (workLeft(*state)) {
        const SearchIndex::Progress before = *state;
        state = SearchIndex::buildBatch(connectionName, kBuildAllRows);
        if (state->indexedUpTo == before.indexedUpTo && state->readUpTo == before.readUpTo &&
            state->staleReadings == before.staleReadings)
            break; // rows that the batch cannot take (none is known): searches read them as they are
        progress.ReportProgress(text, percentDone(*state));
    }
    progress.SetProgressRange(0, 0);
    return true;
}
