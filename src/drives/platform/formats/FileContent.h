#pragma once

#include <QtGlobal>

// The bytes of one file, opened for reading. Reads may come from any thread, one at a time.
class FileContent {
public:
    virtual ~FileContent() = default;
    virtual qint64 size() const = 0;
    // Reads up to length bytes at offset into buffer: the bytes read (0 at the end), or the
    // system's error number negated (-EIO for a scratch).
    virtual qint64 read(qint64 offset, char *buffer, qint64 length) = 0;
};
