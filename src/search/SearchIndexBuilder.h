#pragma once

#include "store/SearchIndex.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class ProgressSink;

// Adds the rows above the search index's watermarks to it (those of each import, or all of a
// catalogue written before the index or its pinyin existed) in batches of about a tenth of a second
// between which the window's events run. A long build shows its progress in the status
// line. Each batch is one transaction, so a stop or a kill loses at most the batch under way
// and the next run goes on from there. While another long task uses the catalogue or the
// status line, it waits.
class SearchIndexBuilder : public QObject {
    Q_OBJECT
public:
    // idle: true while nothing else uses the catalogue or the status line. A build of
    // reportedRows rows or more shows its progress.
    SearchIndexBuilder(QString connectionName, ProgressSink &progress, std::function<bool()> idle,
                       QObject *parent = nullptr, qint64 reportedRows = 100000);

    // Looks for rows to index now and then every second: two single-row reads each time.
    void start();
    bool running() const { return m_timer.isActive(); }
    void stop();
    // One batch, or none while not idle or nothing is to be indexed; false once stopped.
    bool step();

    // Brings the index and the pinyin of a catalogue up to date at once, batch after batch,
    // with the progress bar of progress (quillon-cli after an import, and its index command);
    // worn readings are built anew. False for a catalogue without the index; a write the
    // engine refuses raises DbError.
    static bool buildAll(const QString &connectionName, ProgressSink &progress);

private:
    void report(const SearchIndex::Progress &progress);
    void finishReport();
    void adaptBatch(qint64 elapsedMs);

    QString m_connectionName;
    ProgressSink &m_progress;
    std::function<bool()> m_idle;
    QTimer m_timer;
    qint64 m_reportedRows;
    int m_batchRows = 2000;
    bool m_reporting = false;
    bool m_ownsStatusText = false;
};
