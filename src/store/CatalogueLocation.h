#pragma once

#include <QString>

// Where the program finds its catalogue. Portable: when a folder "data" stands beside the
// program (a build tree, an unpacked folder), the catalogue is data/dbQL.mdb there, as it
// has always been. Otherwise each user has one: dbQL.mdb in Quillon's folder of the
// user's data location (~/.local/share/Quillon/), made with the common categories on
// first use. A catalogue named on the command line wins over both.
namespace CatalogueLocation {
// The portable catalogue of a program folder, whether or not it exists.
QString portableFile(const QString &programDir);
bool isPortable(const QString &programDir);
// The user's own catalogue, whether or not it exists.
QString userFile();
// The catalogue to open: the named one, else the portable one where it applies, else the
// user's own.
QString resolve(const QString &programDir, const QString &namedFile);
// Makes the user's catalogue with the common categories where it does not exist yet;
// raises DbError when it cannot be made.
void createUserFileIfMissing();
} // namespace CatalogueLocation
