#pragma once

#include <QString>

// File-system flag bits of a volume, as the catalogue has always stored them.
namespace VolumeFlags {
constexpr quint32 CaseSensitiveSearch = 0x00000001;
constexpr quint32 CasePreservedNames = 0x00000002;
constexpr quint32 UnicodeOnDisk = 0x00000004;
constexpr quint32 PersistentAcls = 0x00000008;
constexpr quint32 ReadOnlyVolume = 0x00080000;
} // namespace VolumeFlags

// What a readable volume tells about itself.
struct VolumeInfo {
    QString label;
    quint32 serial = 0;
    qint32 maxComponentLength = 0;
    QString fileSystem;
    quint32 flags = 0;
};
