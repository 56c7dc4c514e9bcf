// The version texts of the program, carried in its executable (see drives/VersionNote.h).
#include "drives/VersionNote.h"

QUILLON_VERSION_NOTE(QUILLON_VERSION_ENTRY("VarFileInfo/Translation=080403A8")
                         QUILLON_VERSION_ENTRY("StringFileInfo/080403A8/FileVersion=0.19.0.8")
                             QUILLON_VERSION_ENTRY("StringFileInfo/080403A8/ProductVersion=0.18"));
