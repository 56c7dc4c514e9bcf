#include "DiscImage.h"

#include "FileSectorReader.h"
#include "VolumeDescriptors.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace DiscImage {

Verdict check(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return Verdict::Missing;
    if (!file.isFile())
        return Verdict::NotAFile;
    const auto reader = FileSectorReader::openImage(path);
    if (!reader)
        return Verdict::Unreadable;
    return VolumeDescriptors::read(*reader) ? Verdict::Usable : Verdict::NoVolume;
}

QString describe(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Usable:
        break;
    case Verdict::Missing:
        return u"no such file"_s;
    case Verdict::NotAFile:
        return u"not a regular file"_s;
    case Verdict::Unreadable:
        return u"cannot be opened"_s;
    case Verdict::NoVolume:
        return u"no ISO 9660, Joliet or UDF volume in it"_s;
    }
    return u"a disc image"_s;
}

} // namespace DiscImage
