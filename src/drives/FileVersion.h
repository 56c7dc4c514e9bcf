#pragma once

#include <QString>

// Sets Version to the FileVersion text of the file's version note; to empty when the
// note has no such text for its translation; leaves Version as it was when the file has
// no version note (or cannot be read).
void GetFileVersionString(const QString &FileName, QString &Version);
