#pragma once

#include "OpticalDrive.h"

#include <functional>

// A virtual CD-ROM drive whose disc is an image file. It starts with the image inserted;
// opening its tray takes the image out and closing it puts it back, each time telling
// the platform that the medium left or arrived. It is never mounted.
class ImageOpticalDrive : public OpticalDrive {
public:
    using MediaChanged = std::function<void(bool present)>;

    ImageOpticalDrive(QString imagePath, MediaChanged mediaChanged);

    QString device() const override { return m_image; }
    // The image is inserted and can still be opened.
    bool mediumReady() override;
    std::unique_ptr<SectorReader> openMedium() override;
    std::optional<MountEntry> mounted() override { return std::nullopt; }
    std::optional<MountEntry> mountedView() override { return std::nullopt; }
    // Always true, as a drive's tray always moves; only a change of the medium is told.
    bool eject() override;
    bool closeTray() override;

    bool inserted() const { return m_inserted; }

private:
    void setInserted(bool inserted);

    QString m_image;
    MediaChanged m_mediaChanged;
    bool m_inserted = true;
};
