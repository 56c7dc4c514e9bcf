#include "BenchSupport.h"

#include "store/Schema.h"

#include <QDir>
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

const QStringList kWords{u"song"_s, u"track"_s, u"movie"_s, u"photo"_s, u"report"_s, u"歌曲"_s,
                         u"音乐"_s, u"电影"_s,  u"照片"_s,  u"文档"_s,  u"Live"_s,   u"Remix"_s};
// One file in a hundred is an .mp3, so a search for "mp3" finds 1 % of the records.
const QStringList kExts{u"wav"_s, u"jpg"_s, u"txt"_s, u"avi"_s, u"doc"_s, u"flac"_s, u"png"_s};
const QStringList kTitleWords{u"Song"_s,  u"Track"_s,  u"Live"_s,    u"Remix"_s,   u"Intro"_s,   u"Final"_s,
                              u"Cover"_s, u"Album"_s,  u"Demo"_s,    u"Edit"_s,    u"Version"_s, u"Acoustic"_s,
                              u"Radio"_s, u"Studio"_s, u"Session"_s, u"Concert"_s, u"Part"_s,    u"Bonus"_s};
const QStringList kChineseWords{u"音乐"_s, u"歌曲"_s, u"电影"_s, u"照片"_s, u"文档"_s,   u"流行"_s,  u"经典"_s,
                                u"合集"_s, u"现场"_s, u"精选"_s, u"原声"_s, u"专辑"_s,   u"钢琴"_s,  u"民谣"_s,
                                u"摇滚"_s, u"视频"_s, u"动画"_s, u"教程"_s, u"演唱会"_s, u"纪录片"_s};
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
    out << name << '\t' << QString::number(value, 'f', value < 10 ? 3 : 1) << '\t' << unit << '\t' << target << '\n';
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

QString realisticName(quint64 i)
{
    const quint64 h = mix(i + 101);
    const QString chinese = i % 10000 == 3 ? RareWord : kChineseWords[int((h >> 24) % kChineseWords.size())];
    const QString title = i % 100000 == 7 ? RareToken : kTitleWords[int((h >> 8) % kTitleWords.size())];
    return u"%1 %2 %3 - %4%5 %6 %7.%8"_s
        .arg(kTitleWords[int(h % kTitleWords.size())], title.toLower(),
             kTitleWords[int((h >> 16) % kTitleWords.size())], chinese,
             kChineseWords[int((h >> 32) % kChineseWords.size())], kTitleWords[int((h >> 44) % kTitleWords.size())])
        .arg(i % 1000000, 6, 10, QChar(u'0'))
        .arg(i % 100 == 0 ? u"mp3"_s : kExts[int((h >> 40) % kExts.size())]);
}

// The files of a folder follow each other, as the scan writes them: 20 to a folder.
QString realisticPath(quint64 i)
{
    const quint64 folder = i / 20;
    const quint64 h = mix(folder + 211);
    return u"\\%1\\%2 %3 %4\\%5%6 %7\\Disc %8\\Side %9\\"_s
        .arg(kChineseWords[int(h % kChineseWords.size())], kTitleWords[int((h >> 8) % kTitleWords.size())],
             kTitleWords[int((h >> 16) % kTitleWords.size())])
        .arg(2000 + int((h >> 24) % 25))
        .arg(kChineseWords[int((h >> 32) % kChineseWords.size())], kChineseWords[int((h >> 40) % kChineseWords.size())])
        .arg(int(folder % 1000))
        .arg(int((h >> 48) % 9) + 1)
        .arg(QChar(u'A' + int((h >> 56) % 2)));
}

} // namespace bench

void bench::newCatalogue(const QString &programDir)
{
    QDir().mkpath(programDir + u"/data"_s);
    QFile::remove(programDir + u"/data/dbQL.mdb"_s);
    CatalogueSchema::create(programDir + u"/data/dbQL.mdb"_s, true);
}
