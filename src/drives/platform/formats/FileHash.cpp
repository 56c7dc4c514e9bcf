#include "FileHash.h"

#include "Sha256.h"

#include <QCryptographicHash>

#include <array>

namespace {

class Sha256Hash : public FileHash {
public:
    bool add(QByteArrayView bytes) override
    {
        m_hash.add(bytes);
        return true;
    }
    QByteArray result() override { return m_hash.result(); }

private:
    Sha256 m_hash;
};

class Md5Hash : public FileHash {
public:
    bool add(QByteArrayView bytes) override
    {
        m_hash.addData(bytes);
        return true;
    }
    QByteArray result() override { return m_hash.result(); }

private:
    QCryptographicHash m_hash{QCryptographicHash::Md5};
};

// The CRC-32 of zlib and of SFV files (reflected polynomial 0xEDB88320), big-endian bytes.
class Crc32Hash : public FileHash {
public:
    bool add(QByteArrayView bytes) override
    {
        static const std::array<quint32, 256> table = [] {
            std::array<quint32, 256> t{};
            for (quint32 i = 0; i < 256; ++i) {
                quint32 c = i;
                for (int k = 0; k < 8; ++k)
                    c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
                t[i] = c;
            }
            return t;
        }();
        for (const char byte : bytes)
            m_crc = table[(m_crc ^ quint8(byte)) & 0xFFu] ^ (m_crc >> 8);
        return true;
    }
    QByteArray result() override
    {
        const quint32 value = ~m_crc;
        QByteArray digest(4, Qt::Uninitialized);
        for (int i = 0; i < 4; ++i)
            digest[i] = char((value >> (24 - 8 * i)) & 0xFFu);
        return digest;
    }

private:
    quint32 m_crc = 0xFFFFFFFFu;
};

class ContentHash : public FileHash {
public:
    bool add(QByteArrayView bytes) override
    {
        if (m_bytes.size() + bytes.size() > ContentLimit)
            return false;
        m_bytes.append(bytes);
        return true;
    }
    QByteArray result() override { return m_bytes; }

private:
    QByteArray m_bytes;
};

} // namespace

std::unique_ptr<FileHash> FileHash::make(DigestKind kind)
{
    switch (kind) {
    case DigestKind::Md5:
        return std::make_unique<Md5Hash>();
    case DigestKind::Crc32:
        return std::make_unique<Crc32Hash>();
    case DigestKind::Content:
        return std::make_unique<ContentHash>();
    case DigestKind::Sha256:
        break;
    }
    return std::make_unique<Sha256Hash>();
}

QByteArray FileHash::of(DigestKind kind, QByteArrayView bytes)
{
    const std::unique_ptr<FileHash> hash = make(kind);
    return hash->add(bytes) ? hash->result() : QByteArray();
}
