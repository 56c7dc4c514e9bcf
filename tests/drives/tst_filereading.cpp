// Reading files whole for their checksums: SHA-256 as sha256sum gives it, files of a disc
// image read from its extents in the order of their places, and damaged files (a read that
// fails, one that stalls in the kernel) given up without ending the reading.
#include "FakePlatform.h"
#include "IsoImages.h"
#include "VirtualDriveRig.h"
#include "drives/platform/DigestReader.h"
#include "drives/platform/PlatformOverride.h"

#include <QProcess>
#include <QtTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray sha256sum(const QString &path)
{
    QProcess process;
    process.start(u"sha256sum"_s, {path});
    process.waitForFinished(120000);
    return QByteArray::fromHex(process.readAllStandardOutput().left(64));
}

QList<QByteArray> digests(DigestReader::OpenSource open, const QStringList &paths, DigestLimits limits = {})
{
    DigestReader reader(std::move(open), paths, limits);
    while (!reader.wait(std::chrono::milliseconds(50))) {
    }
    return reader.results();
}

QByteArray bytes(qint64 size, char seed)
{
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(seed + i * 7 + i / 251);
    return data;
}

} // namespace

class TestFileReading : public QObject {
    Q_OBJECT

    FakePlatform m_platform;
    PlatformOverride m_override{m_platform};

    QString write(const QString &name, const QByteArray &data)
    {
        const QString path = m_platform.drive('e').root + u'/' + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(data);
        return path;
    }
    DigestReader::OpenSource drive() { return [] { return Platform::instance().fileSource('e'); }; }

private slots:
    void initTestCase() { m_platform.addDrive('e', DriveTypes::CdRom); }

    // The edges of the reads (64 KiB ± 1 around a read's end) and a large sparse file.
    void digestsEqualSha256sum()
    {
        QStringList names;
        QList<QByteArray> expected;
        for (const qint64 size : {0, 1, 65535, 65536, 65537}) {
            names << u"f%1"_s.arg(size);
            expected << sha256sum(write(names.last(), bytes(size, char(size))));
        }
        const QString sparse = m_platform.drive('e').root + u"/sparse"_s;
        QVERIFY(QFile(sparse).open(QIODevice::WriteOnly));
        QVERIFY(::truncate(QFile::encodeName(sparse).constData(), 300 << 20) == 0);
        names << u"sparse"_s;
        expected << sha256sum(sparse);
        QCOMPARE(digests(drive(), names), expected);
    }

    // A failing block: that file gets nothing after the bounded retries; the next is read.
    void failingReadGivesUpTheFileOnly()
    {
        write(u"bad"_s, bytes(100000, 3));
        const QString good = write(u"good"_s, bytes(5000, 4));
        m_platform.faults().set(u"bad"_s, 20, FaultyFiles::Fault::Fail);
        DigestLimits limits;
        limits.chunk = 4096;
        const QList<QByteArray> got = digests(drive(), {u"bad"_s, u"good"_s, u"missing"_s}, limits);
        QVERIFY(got[0].isEmpty());
        QCOMPARE(got[1], sha256sum(good));
        QVERIFY(got[2].isEmpty());
        // 10 reads of 4 KiB reach block 20; then the read and its two retries fail.
        QCOMPARE(m_platform.faults().reads(u"bad"_s), 10 + 3);
    }

    // A read blocked in the kernel: the file is given up after its time, a new reader
    // reads the rest, and the blocked one makes no further read once it returns.
    void stallingReadIsLeftBehind()
    {
        write(u"a"_s, bytes(3000, 5));
        write(u"stalls"_s, bytes(50000, 6));
        const QString c = write(u"c"_s, bytes(7000, 7));
        m_platform.faults().set(u"stalls"_s, 3, FaultyFiles::Fault::Stall);
        DigestLimits limits;
        limits.chunk = 2048;
        limits.perFile = std::chrono::milliseconds(300);
        limits.slowestBytesPerSecond = qint64(1) << 40;
        const QList<QByteArray> got = digests(drive(), {u"a"_s, u"stalls"_s, u"c"_s}, limits);
        QCOMPARE(got[0], sha256sum(m_platform.drive('e').root + u"/a"_s));
        QVERIFY(got[1].isEmpty());
        QCOMPARE(got[2], sha256sum(c));
        QCOMPARE(m_platform.faults().stalled(), 1);
        const int reads = m_platform.faults().reads(u"stalls"_s);
        m_platform.faults().releaseStalls();
        QTest::qWait(200);
        QCOMPARE(m_platform.faults().reads(u"stalls"_s), reads);
    }

    // A disc image read through the program's own directory reader, without a mount: the
    // contents by their extents, the files taken in the order of their places.
    void discFilesReadFromTheirExtents()
    {
        if (!IsoImages::has(u"genisoimage"_s))
            QSKIP(qPrintable(IsoImages::missing(u"genisoimage"_s)));
        IsoImages images;
        images.write(u"music/b.bin"_s, bytes(300000, 9));
        const QString image = images.genisoimage(u"d.iso"_s, {u"-J"_s, u"-V"_s, u"D"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        VirtualDriveRig rig;
        const std::optional<char> letter = rig.platform->attachImage(image);
        QVERIFY(letter);
        const QStringList paths{u"readme.txt"_s, u"music/b.bin"_s, u"music/a.mp3"_s, u"none.txt"_s};
        const std::unique_ptr<FileSource> source = rig.platform->fileSource(*letter);
        QVERIFY(source);
        QVERIFY(source->position(u"music/a.mp3"_s) > 0);
        QCOMPARE(source->position(u"none.txt"_s), -1);
        Platform &platform = *rig.platform;
        const QList<QByteArray> got = digests([&] { return platform.fileSource(*letter); }, paths);
        QCOMPARE(got[0], sha256Of("hello"));
        QCOMPARE(got[1], sha256Of(bytes(300000, 9)));
        QCOMPARE(got[2], sha256Of("abc"));
        QVERIFY(got[3].isEmpty());
    }

private:
    static QByteArray sha256Of(const QByteArray &data)
    {
        return QCryptographicHash::hash(data, QCryptographicHash::Sha256);
    }
};

QTEST_GUILESS_MAIN(TestFileReading)
#include "tst_filereading.moc"
