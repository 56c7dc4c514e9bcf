#pragma once

#include "MountSource.h"

#include <QString>
#include <functional>

// The mounts a user keeps files on, read from the kernel's mount table alone: no mount
// point is asked for its size or its type, so a network mount that hangs cannot hold up
// the drive letters. Pseudo file systems and the special folders are left out.
class MountTableMounts : public MountSource {
public:
    // Whether a mount point is a single file; asked only for bind mounts of local disks.
    using FileCheck = std::function<bool(const QString &mountPoint)>;

    explicit MountTableMounts(QString mountInfoPath = QStringLiteral("/proc/self/mountinfo"),
                              FileCheck isFile = cachedIsFile);

    QList<MountEntry> mounts() override;
    // The kernel's word on whether a mount point is still one.
    bool isMounted(const MountEntry &mount) override;

    // The kernel's cached answer, without asking the file system itself.
    static bool cachedIsFile(const QString &mountPoint);

private:
    QString m_mountInfoPath;
    FileCheck m_isFile;
};
