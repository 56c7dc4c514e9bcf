#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

struct evp_md_ctx_st;

// SHA-256 through OpenSSL's EVP interface, which uses the processor's SHA instructions where
// it has them (several times faster than a plain implementation).
class Sha256 {
public:
    static constexpr qsizetype DigestSize = 32;

    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;

    void add(QByteArrayView bytes);
    // The 32 bytes of the digest; the object starts again for the next data.
    QByteArray result();

    static QByteArray of(QByteArrayView bytes);

private:
    void start();

    struct Free {
        void operator()(evp_md_ctx_st *context) const;
    };
    std::unique_ptr<evp_md_ctx_st, Free> m_context;
};
