#pragma once

#include "MountEntry.h"
#include "drives/platform/formats/SectorReader.h"

#include <memory>
#include <optional>

// One optical drive behind a letter: a real drive, or a virtual one whose disc is an
// image file. The platform reads the disc's volume descriptors (and, for a disc without
// a file system it can read itself, its mounted view) through this; a virtual drive
// reports its media changes to the platform as a drive's media event source does.
class OpticalDrive {
public:
    virtual ~OpticalDrive() = default;

    // What names the drive in media changes: its device node or image file.
    virtual QString device() const = 0;
    // A disc is in and can be read now.
    virtual bool mediumReady() = 0;
    // The disc's sectors (ask mediumReady first: without a disc, reads fail); nothing
    // when the drive cannot be opened.
    virtual std::unique_ptr<SectorReader> openMedium() = 0;
    // Where the disc is mounted now; nothing when it is not (or cannot be).
    virtual std::optional<MountEntry> mounted() = 0;
    // The disc's mount, mounting it when it is not; nothing on failure.
    virtual std::optional<MountEntry> mountedView() = 0;
    // True when the tray moved; false on every failure.
    virtual bool eject() = 0;
    virtual bool closeTray() = 0;
};
