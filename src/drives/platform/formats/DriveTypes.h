#pragma once

#include <QtGlobal>

// The drive type codes the program works with (a drive's `DriveType`).
namespace DriveTypes {
constexpr qint32 Unknown = 0;   // the type cannot be determined
constexpr qint32 NoRootDir = 1; // no drive has this letter
constexpr qint32 Removable = 2;
constexpr qint32 Fixed = 3;
constexpr qint32 Remote = 4;
constexpr qint32 CdRom = 5;
constexpr qint32 RamDisk = 6;
} // namespace DriveTypes
