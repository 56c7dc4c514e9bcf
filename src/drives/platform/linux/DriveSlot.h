#pragma once

#include "MountEntry.h"

// One drive of the letter map.
struct DriveSlot {
    enum class Kind {
        Root,    // the root file system, always c
        Optical, // an optical drive: device is its node (its disc's mount is asked of the drive)
        Mount,   // any other mounted file system
    };
    Kind kind = Kind::Mount;
    char letter = 0;
    MountEntry mount;
};
