#pragma once

#include "MountEntry.h"

#include <QList>

// The optical drives of the machine, in the order they take their letters from d on
// (device = the drive's node, rootPath = where its disc is mounted, if it is). This
// one knows of none; the optical backend's enumerator replaces it.
class OpticalDriveSource {
public:
    virtual ~OpticalDriveSource() = default;
    virtual QList<MountEntry> drives() { return {}; }
};
