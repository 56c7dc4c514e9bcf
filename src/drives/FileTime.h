#pragma once

#include <QDateTime>

// The local date and time of a file time (100-ns ticks since 1601-01-01 UTC), shifted by
// the machine's offset from UTC as it is now, not as it was at that date, as file dates
// have always been shown. An invalid QDateTime for a value past the last file time.
QDateTime FileTimeToDateTime(quint64 FileTime);
