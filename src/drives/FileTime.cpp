#include "FileTime.h"

namespace {
constexpr qint64 kTicksFrom1601To1970 = 116444736000000000LL;
constexpr qint64 kTicksPerMs = 10000;
} // namespace

QDateTime FileTimeToDateTime(quint64 FileTime)
{
    if (FileTime > quint64(std::numeric_limits<qint64>::max()))
        return {};
    const qint64 ticks = qint64(FileTime) - kTicksFrom1601To1970;
    qint64 ms = ticks / kTicksPerMs;
    if (ticks % kTicksPerMs < 0)
        --ms; // whole milliseconds, rounding down before 1970 too
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    const QDateTime shifted = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).addSecs(offset);
    return QDateTime(shifted.date(), shifted.time());
}
