#include "Gb18030Encoder.h"

#include "store/AppError.h"

#include <QCoreApplication>
#include <QtEndian>

#include <cerrno>
#include <iconv.h>

using namespace Qt::StringLiterals;

namespace {
constexpr const char *kUtf16 = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
}

Gb18030Encoder::Gb18030Encoder()
    : m_iconv(iconv_open("GB18030", kUtf16))
{
    if (m_iconv == reinterpret_cast<void *>(-1))
        throw AppError(QCoreApplication::translate("Gb18030Encoder", "系统不支持 GB18030 编码"));
}

Gb18030Encoder::~Gb18030Encoder()
{
    iconv_close(static_cast<iconv_t>(m_iconv));
}

void Gb18030Encoder::encode(QStringView text, QByteArray &out)
{
    auto *cd = static_cast<iconv_t>(m_iconv);
    char *in = const_cast<char *>(reinterpret_cast<const char *>(text.utf16()));
    size_t inLeft = size_t(text.size()) * 2;
    while (inLeft > 0) {
        const qsizetype start = out.size();
        out.resize(start + qsizetype(inLeft) * 2 + 8);
        char *dest = out.data() + start;
        size_t destLeft = size_t(out.size() - start);
        const size_t result = iconv(cd, &in, &inLeft, &dest, &destLeft);
        out.resize(dest - out.constData());
        if (result == size_t(-1) && (errno == EILSEQ || errno == EINVAL)) {
            // A lone surrogate: write a question mark and go on after it.
            out.append('?');
            in += 2;
            inLeft -= 2;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
}
