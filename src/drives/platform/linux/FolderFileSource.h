#pragma once

#include "drives/platform/FileSource.h"
#include "drives/platform/formats/UniqueFd.h"

// The files below a directory of a mounted file system, read with pread. Paths never leave
// the directory: ".." is refused and symbolic links are not followed.
class FolderFileSource : public FileSource {
public:
    explicit FolderFileSource(const QString &root);

    // A folder does not tell where its files lie.
    qint64 position(const QString &) override { return -1; }
    std::unique_ptr<FileContent> open(const QString &relativePath, int &error) override;

private:
    UniqueFd m_root;
    int m_rootError = 0;
};
