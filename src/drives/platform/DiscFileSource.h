#pragma once

#include "FileSource.h"
#include "drives/platform/formats/DiscVolume.h"
#include "drives/platform/formats/FileExtent.h"
#include "drives/platform/formats/IsoFileSystem.h"

#include <QHash>
#include <QList>
#include <optional>

// The files of an ISO 9660 or Joliet disc read from their extents through the program's
// own directory reader, without a mount. Each directory is read once.
class DiscFileSource : public FileSource {
public:
    DiscFileSource(std::shared_ptr<SectorReader> disc, const DiscVolume &volume);

    qint64 position(const QString &relativePath) override;
    std::unique_ptr<FileContent> open(const QString &relativePath, int &error) override;

private:
    std::optional<QList<FileExtent>> extents(const QString &relativePath);

    std::shared_ptr<SectorReader> m_disc;
    IsoFileSystem m_files;
    // The records of the directories read so far, by their paths.
    QHash<QString, std::optional<QList<IsoDirectoryRecord>>> m_directories;
};
