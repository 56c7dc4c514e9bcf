#pragma once

#include "FileContent.h"
#include "FileExtent.h"
#include "SectorReader.h"

#include <QList>
#include <memory>

// A file of a disc read from its extents, straight from the disc's sectors.
class ExtentContent : public FileContent {
public:
    ExtentContent(std::shared_ptr<SectorReader> disc, QList<FileExtent> extents);

    qint64 size() const override { return m_size; }
    qint64 read(qint64 offset, char *buffer, qint64 length) override;

private:
    std::shared_ptr<SectorReader> m_disc;
    QList<FileExtent> m_extents;
    qint64 m_size = 0;
};
