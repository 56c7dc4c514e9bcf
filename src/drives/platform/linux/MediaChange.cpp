#include "MediaChange.h"

QList<MediaEvent> mediaEventsFor(const QList<MediaChange> &changes,
                                 const std::function<char(const QString &device)> &letterOf)
{
    quint32 arrived = 0, left = 0;
    for (const MediaChange &change : changes)
        (change.present ? arrived : left) |= MediaEvent::unitBit(letterOf(change.device));
    QList<MediaEvent> events;
    const auto add = [&](MediaEvent::Kind kind, quint32 mask) {
        if (mask)
            events.append(MediaEvent{kind, MediaEvent::DeviceType::Volume, true, mask});
    };
    add(MediaEvent::Kind::RemoveComplete, left);
    add(MediaEvent::Kind::Arrival, arrived);
    return events;
}
