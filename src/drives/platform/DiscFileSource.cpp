#include "DiscFileSource.h"

#include "Platform.h"
#include "drives/platform/formats/ExtentContent.h"

#include <cerrno>

DiscFileSource::DiscFileSource(std::shared_ptr<SectorReader> disc, const DiscVolume &volume)
    : m_disc(std::move(disc))
    , m_files(*m_disc, volume)
{
}

std::optional<QList<FileExtent>> DiscFileSource::extents(const QString &relativePath)
{
    std::optional<QStringList> parts = Platform::splitRelativePath(relativePath);
    if (!parts || parts->isEmpty())
        return std::nullopt;
    const QString name = parts->takeLast();
    const QString folder = parts->join(u'/');
    auto found = m_directories.find(folder);
    if (found == m_directories.end())
        found = m_directories.insert(folder, m_files.records(*parts));
    if (!*found)
        return std::nullopt;
    return IsoDirectory::extents(**found, name, m_files.blockSize());
}

qint64 DiscFileSource::position(const QString &relativePath)
{
    const auto pieces = extents(relativePath);
    return pieces && !pieces->isEmpty() ? pieces->first().offset : -1;
}

std::unique_ptr<FileContent> DiscFileSource::open(const QString &relativePath, int &error)
{
    auto pieces = extents(relativePath);
    if (!pieces) {
        error = ENOENT;
        return nullptr;
    }
    return std::make_unique<ExtentContent>(m_disc, std::move(*pieces));
}
