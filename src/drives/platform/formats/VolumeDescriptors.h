#pragma once

#include "DiscVolume.h"
#include "SectorReader.h"

#include <optional>

// Reads a disc's volume descriptors from the start of its last session and gives the
// label, serial number and file system Windows shows for it: UDF when the disc carries a
// UDF recognition sequence, else Joliet when it has a Joliet descriptor, else ISO 9660.
// Nothing when the disc holds none of these (an audio CD, a blank disc).
namespace VolumeDescriptors {
std::optional<DiscVolume> read(SectorReader &reader);
// The ISO 9660 rules alone, and whether a UDF recognition sequence is there.
std::optional<DiscVolume> readIso9660(SectorReader &reader);
bool carriesUdf(SectorReader &reader);
} // namespace VolumeDescriptors
