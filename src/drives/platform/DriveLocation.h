#pragma once

#include <QString>

// Where a native path lies: the drive letter and the path below that drive's root,
// '/'-separated, empty for the root itself.
struct DriveLocation {
    char letter = 0;
    QString relativePath;
};
