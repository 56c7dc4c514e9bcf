#pragma once

#include <QByteArray>
#include <QStringView>

// Turns text into GB18030: byte for byte GB2312/GBK for every character those hold, and
// four-byte codes for the rest of Unicode. A broken UTF-16 unit becomes '?'.
class Gb18030Encoder {
public:
    Gb18030Encoder();
    ~Gb18030Encoder();
    Gb18030Encoder(const Gb18030Encoder &) = delete;
    Gb18030Encoder &operator=(const Gb18030Encoder &) = delete;

    // Appends the encoded text to out.
    void encode(QStringView text, QByteArray &out);

private:
    void *m_iconv;
};
