#include "SysfsOpticalDrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {
constexpr int kScsiCdRom = 5;

QString readLine(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readLine()).trimmed() : QString();
}

// "11:0" as a device number; 0 when the text is none.
quint64 deviceNumber(const QString &text)
{
    const QStringList parts = text.split(u':');
    bool majorOk = false, minorOk = false;
    const unsigned maj = parts.value(0).toUInt(&majorOk), min = parts.value(1).toUInt(&minorOk);
    return parts.size() == 2 && majorOk && minorOk ? quint64(makedev(maj, min)) : 0;
}
} // namespace

SysfsOpticalDrives::SysfsOpticalDrives(QString sysRoot)
    : m_sysRoot(std::move(sysRoot))
{
}

QList<OpticalDevice> SysfsOpticalDrives::drives()
{
    QList<OpticalDevice> result;
    const QDir blocks(m_sysRoot + u"/class/block"_s);
    for (const QString &name : blocks.entryList({u"sr*"_s}, QDir::Dirs | QDir::System | QDir::NoDotAndDotDot)) {
        const QString dir = blocks.filePath(name);
        if (readLine(dir + u"/device/type"_s).toInt() != kScsiCdRom)
            continue;
        const quint64 number = deviceNumber(readLine(dir + u"/dev"_s));
        if (number == 0)
            continue;
        result.append(OpticalDevice{u"/dev/"_s + name, name, number, QFileInfo(dir).canonicalFilePath()});
    }
    sortByPath(result);
    return result;
}
