#pragma once

#include "drives/platform/formats/FileContent.h"

#include <QString>
#include <memory>

// The files of one drive, opened for reading their contents by their paths below the
// drive's root ('/'-separated). Made by the platform on the GUI thread; then used by one
// thread at a time, any thread, and independent of the platform.
class FileSource {
public:
    virtual ~FileSource() = default;
    // Where the file lies on its disc, as a byte offset, so that files are read in the order
    // of their places instead of seeking back and forth; -1 where the drive does not tell
    // (a folder) or there is no such file.
    virtual qint64 position(const QString &relativePath) = 0;
    // The file opened; null with error set to the system's error number when it cannot be.
    virtual std::unique_ptr<FileContent> open(const QString &relativePath, int &error) = 0;
};
