#pragma once

#include <QString>
#include <optional>

// What a scan reads: a drive letter and the folder below its root in letter form ("e:\" or
// "c:\music"), as imports and verifications take it.
struct DriveRoot {
    char letter = 0;
    QString root;

    // The root of a drive ("e:\").
    static DriveRoot ofDrive(char letter);
    // A folder given by its native path; nothing when it is no folder on a drive.
    static std::optional<DriveRoot> ofFolder(const QString &nativePath);
};
