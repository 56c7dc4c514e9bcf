// The version texts of the program, carried in its executable (see VersionNote.h).
#include "VersionNote.h"
#include "QuillonVersion.h"

QUILLON_VERSION_NOTE(QUILLON_VERSION_ENTRY("VarFileInfo/Translation=080403A8")
                         QUILLON_VERSION_ENTRY("StringFileInfo/080403A8/FileVersion=" QUILLON_FILE_VERSION)
                             QUILLON_VERSION_ENTRY("StringFileInfo/080403A8/ProductVersion=" QUILLON_PRODUCT_VERSION));
