#pragma once

#include "ArchiveProtocol.h"
#include "ByteSource.h"

#include <chrono>
#include <cstdint>
#include <functional>

// Lists the files of an archive with libarchive, bounded: it never writes anything, stops
// at the limits below, and reads an archive within an archive (down to maxDepth levels)
// from the outer member's bytes: from memory when it fits the buffer (so a format that
// seeks, 7z, can be read), streamed otherwise. Runs in quillon-probe only: libarchive
// parses what the discs hold, and a fault there must cost the probe, never the program.
struct ArchiveLimits {
    uint64_t maxMembers = 1000000;
    int maxDepth = 3; // the archive itself is level 1
    uint64_t maxBytes = uint64_t(4) << 30; // decompressed, the archive and those within it
    std::chrono::milliseconds maxTime{20000};
    size_t nestedBuffer = size_t(64) << 20; // an inner archive read into memory up to this
};

using ArchiveProtocol::End;
using ArchiveProtocol::Member;

// Calls take for every file member (folders are not members) and returns how it ended.
// A failure stops the listing; what was taken before it stays taken.
End listArchive(FileContent &source, const ArchiveLimits &limits, const std::function<void(const Member &)> &take);
