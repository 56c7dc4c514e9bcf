#pragma once

#include "FileContent.h"

#include <string>

// The bytes an archive is read from: a file, or a member of another archive held in memory
// (a file on a disc read by the program's own reader is a FileContent too).

// A regular file opened read-only (and never written).
class FileByteSource : public FileContent {
public:
    explicit FileByteSource(const std::string &path);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource &) = delete;
    FileByteSource &operator=(const FileByteSource &) = delete;
    bool isOpen() const { return m_fd >= 0; }
    qint64 size() const override { return m_size; }
    qint64 read(qint64 offset, char *buffer, qint64 length) override;

private:
    int m_fd = -1;
    qint64 m_size = 0;
};

// Bytes held in memory.
class MemoryByteSource : public FileContent {
public:
    explicit MemoryByteSource(std::string bytes) : m_bytes(std::move(bytes)) {}
    qint64 size() const override { return qint64(m_bytes.size()); }
    qint64 read(qint64 offset, char *buffer, qint64 length) override;

private:
    std::string m_bytes;
};
