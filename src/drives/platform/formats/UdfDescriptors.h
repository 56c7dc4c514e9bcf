#pragma once

#include "DiscVolume.h"
#include "SectorReader.h"

#include <optional>

// The label and serial number of a UDF disc: the logical volume identifier, and the
// lane sum over the File Set Descriptor. Found through the anchor at sector 256 of the
// last session, the main volume descriptor sequence and the partition the logical
// volume's file set lies in. Nothing when these cannot be followed.
namespace UdfDescriptors {
std::optional<DiscVolume> read(SectorReader &reader);
// A UDF "dstring" field: compression id 8 (one byte a character) or 16 (UCS-2 big
// endian), the length used in the field's last byte.
QString dstring(const QByteArray &field);
} // namespace UdfDescriptors
