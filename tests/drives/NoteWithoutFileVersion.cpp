// A version note with a translation and a product version, but no file version.
#include "drives/VersionNote.h"

QUILLON_VERSION_NOTE(QUILLON_VERSION_ENTRY("VarFileInfo/Translation=080403A8")
                         QUILLON_VERSION_ENTRY("StringFileInfo/080403A8/ProductVersion=0.18"));
