#include "AboutInfo.h"

#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

QString AboutInfo::osText(const QString &kernelRelease, const QString &distribution)
{
    // "6.18.44-amd64": major 6, minor 18, build 44; missing parts count as 0.
    static const QRegularExpression release(u"^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"_s);
    const QRegularExpressionMatch m = release.match(kernelRelease.trimmed());
    const int major = m.captured(1).toInt();
    const int minor = m.captured(2).toInt();
    const int build = m.captured(3).toInt();
    const QString head = u"Linux %1.%2 (Build %3"_s.arg(major).arg(minor).arg(build);
    if (distribution.trimmed().isEmpty())
        return head + u')';
    return head + u": "_s + distribution.trimmed() + u')';
}

QString AboutInfo::memoryText(quint64 bytes, const QLocale &locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(qulonglong(bytes / 1024)) + u" KB"_s;
}

quint64 AboutInfo::physicalMemory()
{
    QFile meminfo(u"/proc/meminfo"_s);
    if (!meminfo.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : meminfo.readAll().split('\n')) {
        if (!line.startsWith("MemTotal:"))
            continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        return fields.size() >= 2 ? fields.at(1).toULongLong() * 1024 : 0;
    }
    return 0;
}
