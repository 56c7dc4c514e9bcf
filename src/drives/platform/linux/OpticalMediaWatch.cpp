#include "OpticalMediaWatch.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// A number sysfs gives, or nothing.
std::optional<int> readNumber(const QString &path)
{
    bool ok = false;
    const int value = readAll(path).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}
} // namespace

OpticalMediaWatch::OpticalMediaWatch(std::unique_ptr<MediaEventSource> udevEvents,
                                     std::unique_ptr<MediaEventSource> poller, Machine machine, QObject *parent)
    : MediaEventSource(parent)
    , m_udevEvents(std::move(udevEvents))
    , m_poller(std::move(poller))
    , m_machine(std::move(machine))
{
    connect(m_udevEvents.get(), &MediaEventSource::mediaChanged, this, &MediaEventSource::mediaChanged);
    connect(m_poller.get(), &MediaEventSource::mediaChanged, this, &MediaEventSource::mediaChanged);
}

bool OpticalMediaWatch::kernelPolls(const QString &sysRoot, const QString &sysName)
{
    const QString block = sysRoot + u"/block/"_s + sysName;
    if (!readAll(block + u"/events"_s).contains("media_change"))
        return false;
    std::optional<int> msecs = readNumber(block + u"/events_poll_msecs"_s);
    if (msecs == -1)
        msecs = readNumber(sysRoot + u"/module/block/parameters/events_dfl_poll_msecs"_s);
    return msecs.value_or(0) > 0;
}

bool OpticalMediaWatch::watch(const QList<OpticalDevice> &drives)
{
    const bool udevRuns = QFileInfo::exists(m_machine.udevControl);
    QList<OpticalDevice> byEvents, byPolling;
    for (const OpticalDevice &drive : drives)
        (udevRuns && kernelPolls(m_machine.sysRoot, drive.sysName) ? byEvents : byPolling).append(drive);
    if (!m_udevEvents->watch(byEvents))
        byPolling += byEvents;
    return m_poller->watch(byPolling);
}
