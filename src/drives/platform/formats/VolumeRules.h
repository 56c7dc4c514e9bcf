#pragma once

#include <QString>

// How a Linux file system is presented as a drive: the serial number, file-system name,
// flags and drive type that Windows gives the same volume.
namespace VolumeRules {
// FAT and exFAT: UUID "ABCD-1234" is the serial 0xABCD1234. NTFS: the low 32 bits of
// its 16-digit UUID. Any other: the first 8 hex digits of the UUID. 0 without a UUID.
// (UDF has a serial of its own, a sum over its File Set Descriptor: UdfDescriptors reads
// it from the device; this rule is for a UDF device that cannot be opened.)
quint32 serial(const QString &type, const QString &uuid);
// "FAT" or "FAT32", "exFAT", "NTFS", "UDF", "CDFS"; any other type as given.
QString fileSystemName(const QString &type, const QString &version);
quint32 flags(const QString &type, bool readOnly);
// One of DriveTypes for a mounted file system (the root file system is always fixed).
qint32 driveType(const QString &fsType, bool removableDevice);
// ID_FS_LABEL_ENC of udev: bytes with \xNN escapes, UTF-8.
QString decodeUdevText(const char *encoded);
} // namespace VolumeRules
