#pragma once

#include "DriveSlot.h"
#include "drives/platform/DriveLocation.h"

#include <QList>
#include <array>
#include <optional>

// Which drive each letter names. c is the root file system; the optical drives follow
// from d in the order given (device = node, rootPath = where its disc is mounted now, so
// that mount gets no letter of its own); then every other mounted file system, one letter per mount
// point in the order of the mount points, as far as z.
class LetterMap {
public:
    static LetterMap build(const QList<MountEntry> &mounts, const QList<MountEntry> &opticalDrives);

    const DriveSlot *slot(char letter) const;
    QList<char> letters() const;
    // The drive whose root holds the path (the deepest one), and the path below it.
    std::optional<DriveLocation> locate(const QString &nativePath) const;
    // Gives a drive the next free letter after the optical drives' ones; 0 when none is left.
    char assign(DriveSlot slot);

private:
    std::array<std::optional<DriveSlot>, 26> m_slots;
};
