#include "ExtentContent.h"

#include <algorithm>

ExtentContent::ExtentContent(std::shared_ptr<SectorReader> disc, QList<FileExtent> extents)
    : m_disc(std::move(disc))
    , m_extents(std::move(extents))
{
    for (const FileExtent &extent : m_extents)
        m_size += extent.length;
}

// One read stays inside one extent; the caller asks again for the rest.
qint64 ExtentContent::read(qint64 offset, char *buffer, qint64 length)
{
    qint64 start = 0;
    for (const FileExtent &extent : m_extents) {
        if (offset < start + extent.length) {
            const qint64 within = offset - start;
            return m_disc->readBytes(extent.offset + within, buffer, std::min(length, extent.length - within));
        }
        start += extent.length;
    }
    return 0;
}
