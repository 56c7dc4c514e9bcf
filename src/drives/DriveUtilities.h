#pragma once

#include "DriveInfo.h"

#include <QString>

// Reads a drive's label, serial number, file system and type. Never fails: a drive
// without a readable volume, an empty CD-ROM drive and a letter without a drive give an
// empty label and file system, serial "00000000" (an empty CD-ROM drive also component
// length and flags 0; a letter without a drive type 1).
void GetDriveInfo(char Drive, RDriveInfo &Info);

// True when the drive's volume can be read (a medium is in it). A character that is no
// letter throws ConvertError "not a valid drive?".
bool IsDriveReady(char Drive);

// Open or close the tray of a drive named as the drive list names it ("E:"). True when
// the tray moved; false on any failure, never a message.
bool OpenCdDoor(const QString &Drive);
bool CloseCdDoor(const QString &Drive);
