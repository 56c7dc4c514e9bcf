#include "DriveRoot.h"

#include "drives/platform/Platform.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

DriveRoot DriveRoot::ofDrive(char letter)
{
    return {letter, QString(QChar(char16_t(letter))) + u":\\"_s};
}

std::optional<DriveRoot> DriveRoot::ofFolder(const QString &nativePath)
{
    const QFileInfo info(nativePath);
    const std::optional<DriveLocation> where =
        info.isDir() ? Platform::instance().locate(info.absoluteFilePath()) : std::nullopt;
    if (!where)
        return std::nullopt;
    QString relative = where->relativePath;
    relative.replace(u'/', u'\\');
    if (!relative.isEmpty() && !relative.startsWith(u'\\'))
        relative.prepend(u'\\');
    return DriveRoot{where->letter,
                     QString(QChar(char16_t(where->letter))) + u":"_s + (relative.isEmpty() ? u"\\"_s : relative)};
}
