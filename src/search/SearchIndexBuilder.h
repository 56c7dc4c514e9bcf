#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class ProgressSink;

// Fills the search index of a catalogue written before the index existed, in batches of
// about a tenth of a second between which the window's events run, with its progress in
// the status line. Each batch is one transaction, so a stop or a kill loses at most the
// batch under way and the next run goes on from there. While another long task uses the
// catalogue or the status line, it waits.
class SearchIndexBuilder : public QObject {
    Q_OBJECT
public:
    // idle: true while nothing else uses the catalogue or the status line.
    SearchIndexBuilder(QString connectionName, ProgressSink &progress, std::function<bool()> idle,
                       QObject *parent = nullptr);

    // Starts filling when the index is not complete; a single-row read otherwise.
    void start();
    bool running() const { return m_timer.isActive(); }
    // One batch, or none while not idle; false once the builder has stopped.
    bool step();

signals:
    void finished();

private:
    void stop();
    void report(qint64 indexedUpTo, qint64 lastRow);
    void adaptBatch(qint64 elapsedMs);

    QString m_connectionName;
    ProgressSink &m_progress;
    std::function<bool()> m_idle;
    QTimer m_timer;
    int m_batchRows = 2000;
    bool m_ownsStatusText = true;
};
