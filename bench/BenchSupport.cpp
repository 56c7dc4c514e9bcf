#include "BenchSupport.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {
qint64 statusField(const QByteArray &field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

quint64 mix(quint64 x)
{
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return x;
}

const QStringList kWords{u"song"_s, u"track"_s, u"movie"_s, u"photo"_s, u"report"_s, u"歌曲"_s, u"音乐"_s,
                         u"电影"_s, u"照片"_s, u"文档"_s, u"Live"_s, u"Remix"_s};
// One file in a hundred is an .mp3, so a search for "mp3" finds 1 % of the records.
const QStringList kExts{u"wav"_s, u"jpg"_s, u"txt"_s, u"avi"_s, u"doc"_s, u"flac"_s, u"png"_s};
} // namespace

namespace bench {

qint64 residentBytes()
{
    return statusField("VmRSS:");
}

qint64 peakResidentBytes()
{
    return statusField("VmHWM:");
}

void trimHeap()
{
    malloc_trim(0);
}

void resetPeak()
{
    QFile clear(u"/proc/self/clear_refs"_s);
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void report(const QString &name, double value, const QString &unit, const QString &target)
{
    QTextStream out(stdout);
    out << name << '\t' << QString::number(value, 'f', value < 10 ? 3 : 1) << '\t' << unit << '\t' << target
        << '\n';
    out.flush();
}

QString fileName(quint64 i)
{
    const quint64 h = mix(i + 1);
    return u"%1 %2 %3.%4"_s.arg(kWords[int(h % kWords.size())], kWords[int((h >> 8) % kWords.size())])
        .arg(i)
        .arg(i % 100 == 0 ? u"mp3"_s : kExts[int((h >> 16) % kExts.size())]);
}

QString fileSize(quint64 i)
{
    return QString::number(mix(i + 7) % 50000000);
}

QString fileDate(quint64 i)
{
    const quint64 h = mix(i + 13);
    return u"%1-%2-%3 %4:%5:%6"_s.arg(2000 + int(h % 25))
        .arg(int((h >> 8) % 12) + 1, 2, 10, QChar(u'0'))
        .arg(int((h >> 12) % 28) + 1, 2, 10, QChar(u'0'))
        .arg(int((h >> 20) % 24), 2, 10, QChar(u'0'))
        .arg(int((h >> 28) % 60), 2, 10, QChar(u'0'))
        .arg(int((h >> 36) % 60), 2, 10, QChar(u'0'));
}

QString filePath(quint64 i)
{
    const quint64 h = mix(i + 29);
    return u"\\%1\\%2 %3\\"_s.arg(kWords[int(h % kWords.size())], kWords[int((h >> 8) % kWords.size())])
        .arg(int((h >> 16) % 100));
}

} // namespace bench
