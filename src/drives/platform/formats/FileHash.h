#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

// What reading a file whole gives: its SHA-256 (what imports store), its MD5 or CRC-32 (what
// MD5SUMS, *.md5 and *.sfv lists on discs hold), or its bytes themselves (to read such a list;
// files longer than ContentLimit give nothing).
enum class DigestKind { Sha256, Md5, Crc32, Content };

class FileHash {
public:
    static constexpr qint64 ContentLimit = qint64(16) << 20;

    virtual ~FileHash() = default;
    static std::unique_ptr<FileHash> make(DigestKind kind);

    // False when the data cannot be taken (content beyond the limit).
    virtual bool add(QByteArrayView bytes) = 0;
    virtual QByteArray result() = 0;

    static QByteArray of(DigestKind kind, QByteArrayView bytes);
};
