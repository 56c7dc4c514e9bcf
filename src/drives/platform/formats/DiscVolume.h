#pragma once

#include "VolumeInfo.h"

// The file system a disc's own sectors describe.
struct DiscVolume {
    enum class Format { Iso9660, Joliet, Udf };

    Format format = Format::Iso9660;
    // Label, serial, file-system name, flags and name length as Windows gives them.
    VolumeInfo info;
    // Total bytes of the volume.
    qint64 size = 0;
    // ISO 9660 and Joliet: where the active descriptor's root directory lies (absolute
    // sector and bytes) and the logical block size, for reading directories.
    quint32 rootExtent = 0;
    quint32 rootLength = 0;
    quint32 blockSize = 2048;
};
