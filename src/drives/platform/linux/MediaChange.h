#pragma once

#include "drives/platform/MediaEvent.h"

#include <QList>
#include <QString>
#include <functional>

// A medium entered (present) or left a drive, named by its device.
struct MediaChange {
    QString device;
    bool present = false;
};

// The media events of changes seen together: one remove-complete naming every drive a
// medium left, then one arrival naming every drive a medium entered. Devices that
// letterOf gives no letter (0) are left out; a batch without a lettered drive gives none.
QList<MediaEvent> mediaEventsFor(const QList<MediaChange> &changes,
                                 const std::function<char(const QString &device)> &letterOf);
