#pragma once

#include "store/FileKeyReads.h"

#include <QElapsedTimer>
#include <QString>

class StatusProgress;

// The progress of a list's keys being read. A read that ends within 100 ms shows nothing
// (its list appears at once); a longer one shows the count so far, lets events run and
// stops on the stop request.
class KeyReadProgress {
public:
    // text takes the count as %1 ("已读入:%1条记录").
    KeyReadProgress(StatusProgress &progress, QString text);
    FileKeyReads::Going going();
    bool stopped() const { return m_stopped; }

private:
    StatusProgress &m_progress;
    QString m_text;
    QElapsedTimer m_started;
    bool m_stopped = false;
};
