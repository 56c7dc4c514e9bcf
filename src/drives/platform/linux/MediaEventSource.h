#pragma once

#include "MediaChange.h"
#include "OpticalDevice.h"

#include <QObject>

// Learns when media enter or leave optical drives. Reports only changes against what it
// last saw, from the event loop of the thread it lives in.
class MediaEventSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts watching the drives; the media in them now are what later changes are
    // measured against. False when this source cannot watch them.
    virtual bool watch(const QList<OpticalDevice> &drives) = 0;

signals:
    // The changes noticed together, in one wake-up.
    void mediaChanged(const QList<MediaChange> &changes);
};
