#include "Sha256.h"

#include <openssl/evp.h>

#include <new>

void Sha256::Free::operator()(evp_md_ctx_st *context) const
{
    EVP_MD_CTX_free(context);
}

Sha256::Sha256()
    : m_context(EVP_MD_CTX_new())
{
    if (!m_context)
        throw std::bad_alloc();
    start();
}

Sha256::~Sha256() = default;

void Sha256::start()
{
    if (EVP_DigestInit_ex(m_context.get(), EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc(); // only fails when OpenSSL cannot allocate
}

void Sha256::add(QByteArrayView bytes)
{
    EVP_DigestUpdate(m_context.get(), bytes.data(), size_t(bytes.size()));
}

QByteArray Sha256::result()
{
    QByteArray digest(DigestSize, Qt::Uninitialized);
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_context.get(), reinterpret_cast<unsigned char *>(digest.data()), &length);
    start();
    return digest;
}

QByteArray Sha256::of(QByteArrayView bytes)
{
    Sha256 hash;
    hash.add(bytes);
    return hash.result();
}
