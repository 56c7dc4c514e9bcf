#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes an archive is read from: a file, a member of another archive held in memory,
// or (through the same two calls) a file on a disc read by the program's own reader.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual int64_t size() const = 0;
    // Up to length bytes from offset into buffer: how many were read, 0 at the end, -1 on
    // a read error.
    virtual int64_t read(int64_t offset, void *buffer, size_t length) = 0;
};

// A file opened read-only (and never written).
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(const std::string &path);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource &) = delete;
    FileByteSource &operator=(const FileByteSource &) = delete;
    bool isOpen() const { return m_fd >= 0; }
    int64_t size() const override { return m_size; }
    int64_t read(int64_t offset, void *buffer, size_t length) override;

private:
    int m_fd = -1;
    int64_t m_size = 0;
};

// Bytes held in memory.
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::string bytes) : m_bytes(std::move(bytes)) {}
    int64_t size() const override { return int64_t(m_bytes.size()); }
    int64_t read(int64_t offset, void *buffer, size_t length) override;

private:
    std::string m_bytes;
};
