#pragma once

#include <QString>

// Whether a file can be the disc of a virtual optical drive: a regular file that opens
// and holds a volume a disc carries (ISO 9660, Joliet or UDF).
namespace DiscImage {
enum class Verdict { Usable, Missing, NotAFile, Unreadable, NoVolume };
Verdict check(const QString &path);
// The verdict in a few words for the log.
QString describe(Verdict verdict);
} // namespace DiscImage
