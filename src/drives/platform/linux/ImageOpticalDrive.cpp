#include "ImageOpticalDrive.h"

#include "drives/platform/formats/FileSectorReader.h"

ImageOpticalDrive::ImageOpticalDrive(QString imagePath, MediaChanged mediaChanged)
    : m_image(std::move(imagePath))
    , m_mediaChanged(std::move(mediaChanged))
{
}

bool ImageOpticalDrive::mediumReady()
{
    return m_inserted && FileSectorReader::openImage(m_image) != nullptr;
}

std::unique_ptr<SectorReader> ImageOpticalDrive::openMedium()
{
    return m_inserted ? FileSectorReader::openImage(m_image) : nullptr;
}

bool ImageOpticalDrive::eject()
{
    setInserted(false);
    return true;
}

bool ImageOpticalDrive::closeTray()
{
    setInserted(true);
    return true;
}

void ImageOpticalDrive::setInserted(bool inserted)
{
    if (m_inserted == inserted)
        return;
    m_inserted = inserted;
    if (m_mediaChanged)
        m_mediaChanged(inserted);
}
