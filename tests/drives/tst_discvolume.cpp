// A disc's volume descriptors: the label, serial number and file system Windows shows,
// on hand-made descriptors and on images made by genisoimage and xorriso.
#include "IsoImages.h"
#include "OpticalFakes.h"
#include "drives/platform/formats/DiscSerial.h"
#include "drives/platform/formats/FileSectorReader.h"
#include "drives/platform/formats/UdfDescriptors.h"
#include "drives/platform/formats/VolumeDescriptors.h"
#include "drives/platform/linux/BlkidVolumeProbe.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr quint32 kCdfsFlags = VolumeFlags::CaseSensitiveSearch | VolumeFlags::ReadOnlyVolume;

// A volume descriptor: type, "CD001", version, the rest zero.
QByteArray descriptor(quint8 type, quint8 version = 1)
{
    QByteArray d(2048, '\0');
    d[0] = char(type);
    d.replace(1, 5, "CD001");
    d[6] = char(version);
    return d;
}

QByteArray jolietDescriptor(const QString &label, const char *escape = "%/E")
{
    QByteArray d = descriptor(2);
    d.replace(88, 3, escape);
    for (qsizetype i = 0; i < 16; ++i) {
        const char16_t c = i < label.size() ? label[i].unicode() : u' ';
        d[40 + 2 * i] = char(c >> 8);
        d[41 + 2 * i] = char(c & 0xff);
    }
    return d;
}

QByteArray sectorOf(const QString &image, quint32 sector)
{
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(qint64(sector) * 2048))
        return {};
    return file.read(2048);
}

// The four-lane sum, written out: lane i % 4 adds byte i.
quint32 laneSum(const QByteArray &sector, bool reversed)
{
    quint8 lane[4] = {0, 0, 0, 0};
    for (qsizetype i = 0; i < sector.size(); ++i)
        lane[i % 4] = quint8(lane[i % 4] + quint8(sector[i]));
    if (reversed)
        return quint32(lane[3]) << 24 | quint32(lane[2]) << 16 | quint32(lane[1]) << 8 | lane[0];
    return quint32(lane[0]) << 24 | quint32(lane[1]) << 16 | quint32(lane[2]) << 8 | lane[3];
}

std::optional<DiscVolume> readImage(const QString &image, quint32 sessionStart = 0)
{
    const int fd = ::open(QFile::encodeName(image).constData(), O_RDONLY | O_CLOEXEC);
    FileSectorReader reader(fd, sessionStart);
    return VolumeDescriptors::read(reader);
}

// The sector of a UDF image that holds the File Set Descriptor (tag 256), found by
// looking at every sector rather than by following the descriptors.
quint32 fileSetSector(const QString &image)
{
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray all = file.readAll();
    for (qsizetype at = 0; at + 2048 <= all.size(); at += 2048) {
        const quint16 tag = quint16(quint8(all[at]) | quint8(all[at + 1]) << 8);
        const quint32 location = quint32(quint8(all[at + 12])) | quint32(quint8(all[at + 13])) << 8;
        if (tag == 256 && location < 0x10000)
            return quint32(at / 2048);
    }
    return 0;
}

#define REQUIRE_TOOL(tool)                                                                                             \
    if (!IsoImages::has(u##tool##_s))                                                                                  \
    QSKIP(qPrintable(IsoImages::missing(u##tool##_s)))
} // namespace

class TestDiscVolume : public QObject {
    Q_OBJECT

private slots:
    void serialOfTheTestVector()
    {
        QByteArray d(2048, '\0');
        d.replace(0, 7, QByteArray::fromHex("01434430303101"));
        QCOMPARE(DiscSerial::iso9660(d), 0x31744530u);

        MemorySectorReader disc;
        disc.sectors[16] = d;
        disc.sectors[17] = descriptor(255);
        const auto volume = VolumeDescriptors::read(disc);
        QVERIFY(volume);
        QCOMPARE(volume->info.serial, 0x31744530u);
        QCOMPARE(volume->info.label, QString());
        QCOMPARE(volume->info.fileSystem, u"CDFS"_s);
        QCOMPARE(volume->info.flags, kCdfsFlags);
        QCOMPARE(volume->info.maxComponentLength, 221);
        QCOMPARE(volume->format, DiscVolume::Format::Iso9660);
    }

    void serialLanesWrap()
    {
        QByteArray d(2048, '\xff');
        // 512 bytes of 0xff in each lane: 512 * 255 mod 256 = 0.
        QCOMPARE(DiscSerial::iso9660(d), 0u);
        d[0] = 1;
        d[7] = 3;
        QCOMPARE(DiscSerial::iso9660(d), 0x02000004u);
        QCOMPARE(DiscSerial::udf(d), 0x04000002u);
    }

    void activeDescriptorRules()
    {
        // A primary, a supplementary one that is not Joliet, two Joliet ones, and after
        // the terminator a Joliet one that does not count.
        MemorySectorReader disc;
        QByteArray primary = descriptor(1);
        primary.replace(40, 8, "PRIMARY ");
        disc.sectors[16] = primary;
        disc.sectors[17] = jolietDescriptor(u"not joliet"_s, "\0\0\0");
        disc.sectors[18] = jolietDescriptor(u"第一个 Joliet"_s, "%/@");
        disc.sectors[19] = jolietDescriptor(u"second"_s, "%/C");
        disc.sectors[20] = descriptor(255);
        disc.sectors[21] = jolietDescriptor(u"after the end"_s);
        auto volume = VolumeDescriptors::read(disc);
        QVERIFY(volume);
        QCOMPARE(volume->format, DiscVolume::Format::Joliet);
        QCOMPARE(volume->info.label, u"第一个 Joliet"_s);
        QCOMPARE(volume->info.serial, laneSum(disc.sectors[18], false));
        QCOMPARE(volume->info.flags, kCdfsFlags | VolumeFlags::UnicodeOnDisk);
        QCOMPARE(volume->info.maxComponentLength, 110);

        // A descriptor of another version ends the set: the Joliet one behind it is unseen.
        disc.sectors[17] = descriptor(2, 2);
        volume = VolumeDescriptors::read(disc);
        QCOMPARE(volume->format, DiscVolume::Format::Iso9660);
        QCOMPARE(volume->info.label, u"PRIMARY"_s);
        QCOMPARE(volume->info.serial, laneSum(primary, false));

        // So does a sector that is no descriptor, and one that cannot be read.
        disc.sectors[17] = QByteArray(2048, 'x');
        QCOMPARE(VolumeDescriptors::read(disc)->format, DiscVolume::Format::Iso9660);
        disc.sectors.remove(17);
        QCOMPARE(VolumeDescriptors::read(disc)->info.label, u"PRIMARY"_s);
    }

    void discsWithoutAVolume()
    {
        MemorySectorReader blank;
        for (quint32 s = 0; s < 40; ++s)
            blank.sectors[s] = QByteArray(2048, '\0');
        QVERIFY(!VolumeDescriptors::read(blank));
        MemorySectorReader unreadable; // an audio CD reads no data sectors
        QVERIFY(!VolumeDescriptors::read(unreadable));
        MemorySectorReader onlyTerminator;
        onlyTerminator.sectors[16] = descriptor(255);
        QVERIFY(!VolumeDescriptors::read(onlyTerminator));
    }

    void primaryLabels()
    {
        MemorySectorReader disc;
        QByteArray primary = descriptor(1);
        primary.replace(40, 32, QByteArray("MY_DISC").leftJustified(32, ' '));
        disc.sectors[16] = primary;
        QCOMPARE(VolumeDescriptors::read(disc)->info.label, u"MY_DISC"_s);
        // Burnt on a Chinese system: GBK bytes, shown as Windows in code page 936 does.
        primary.replace(40, 32, QByteArray("\xB9\xE2\xC5\xCC 2024").leftJustified(32, '\0'));
        disc.sectors[16] = primary;
        QCOMPARE(VolumeDescriptors::read(disc)->info.label, u"光盘 2024"_s);
    }

    void recognitionSequenceWithoutUdf()
    {
        // BEA01, NSR02, TEA01 after the ISO descriptors, but no UDF anchor: the ISO 9660
        // rules give the volume.
        MemorySectorReader disc;
        QByteArray primary = descriptor(1);
        primary.replace(40, 4, "BRIDGE");
        disc.sectors[16] = primary;
        disc.sectors[17] = descriptor(255);
        for (const auto &[sector, id] : {std::pair{18u, "BEA01"}, {19u, "NSR02"}, {20u, "TEA01"}}) {
            QByteArray s(2048, '\0');
            s.replace(1, 5, id);
            disc.sectors[sector] = s;
        }
        QVERIFY(VolumeDescriptors::carriesUdf(disc));
        QCOMPARE(VolumeDescriptors::read(disc)->format, DiscVolume::Format::Iso9660);
        disc.sectors.remove(19); // no NSR: no UDF
        QVERIFY(!VolumeDescriptors::carriesUdf(disc));
    }

    void udfTexts()
    {
        QByteArray field(128, '\0');
        field[0] = 8;
        field.replace(1, 6, "UDF Vx");
        field[127] = 7;
        QCOMPARE(UdfDescriptors::dstring(field), u"UDF Vx"_s);
        field.fill('\0');
        field[0] = 16;
        const QString text = u"光盘A"_s;
        for (int i = 0; i < text.size(); ++i) {
            field[1 + 2 * i] = char(text[i].unicode() >> 8);
            field[2 + 2 * i] = char(text[i].unicode() & 0xff);
        }
        field[127] = 7;
        QCOMPARE(UdfDescriptors::dstring(field), text);
        field[127] = 0;
        QCOMPARE(UdfDescriptors::dstring(field), QString());
        field[127] = char(200); // longer than the field: cut at its end
        QCOMPARE(UdfDescriptors::dstring(field).left(3), text);
    }

    void plainAndJolietImages()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        const QString plain = images.genisoimage(u"plain.iso"_s, {u"-V"_s, u"PLAIN_DISC"_s});
        QVERIFY2(!plain.isEmpty(), qPrintable(images.lastError));
        auto volume = readImage(plain);
        QVERIFY(volume);
        QCOMPARE(volume->format, DiscVolume::Format::Iso9660);
        QCOMPARE(volume->info.label, u"PLAIN_DISC"_s);
        QCOMPARE(volume->info.serial, laneSum(sectorOf(plain, 16), false));
        QCOMPARE(volume->size, QFileInfo(plain).size());
        QCOMPARE(volume->rootLength, 2048u);

        const QString joliet = images.genisoimage(u"joliet.iso"_s, {u"-J"_s, u"-V"_s, u"光盘 Vol 1"_s});
        QVERIFY2(!joliet.isEmpty(), qPrintable(images.lastError));
        volume = readImage(joliet);
        QCOMPARE(volume->format, DiscVolume::Format::Joliet);
        QCOMPARE(volume->info.label, u"光盘 Vol 1"_s);
        QCOMPARE(volume->info.serial, laneSum(sectorOf(joliet, 17), false));
        QVERIFY(volume->info.serial != laneSum(sectorOf(joliet, 16), false));
        QCOMPARE(volume->info.flags, kCdfsFlags | VolumeFlags::UnicodeOnDisk);
        QCOMPARE(volume->info.maxComponentLength, 110);
    }

    void longJolietLabel()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        const QString image = images.genisoimage(u"long.iso"_s, {u"-J"_s, u"-V"_s, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        const auto volume = readImage(image);
        QCOMPARE(volume->info.label, u"ABCDEFGHIJKLMNOP"_s); // Joliet holds 16 characters
    }

    void xorrisoImage()
    {
        REQUIRE_TOOL("xorriso");
        IsoImages images;
        const QString image = images.xorriso(u"x.iso"_s, u"Xorriso Disc"_s);
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        const auto volume = readImage(image);
        QVERIFY(volume);
        QCOMPARE(volume->format, DiscVolume::Format::Joliet);
        QCOMPARE(volume->info.label, u"Xorriso Disc"_s);
        QCOMPARE(volume->info.serial, laneSum(sectorOf(image, 17), false));
    }

    void multiDescriptorImages()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        // A boot record before the Joliet descriptor: Joliet is the third descriptor.
        const QString boot = images.genisoimage(
            u"boot.iso"_s, {u"-J"_s, u"-b"_s, u"boot.img"_s, u"-no-emul-boot"_s, u"-V"_s, u"Boot Disc"_s});
        QVERIFY2(!boot.isEmpty(), qPrintable(images.lastError));
        auto volume = readImage(boot);
        QCOMPARE(quint8(sectorOf(boot, 17)[0]), quint8(0));
        QCOMPARE(volume->format, DiscVolume::Format::Joliet);
        QCOMPARE(volume->info.label, u"Boot Disc"_s);
        QCOMPARE(volume->info.serial, laneSum(sectorOf(boot, 18), false));

        // ISO 9660:1999 puts a descriptor of version 2 before the Joliet one: the set
        // ends there and the primary descriptor is the active one.
        const QString level4 =
            images.genisoimage(u"level4.iso"_s, {u"-J"_s, u"-iso-level"_s, u"4"_s, u"-input-charset"_s, u"iso8859-1"_s,
                                                 u"-V"_s, u"Level Four"_s});
        QVERIFY2(!level4.isEmpty(), qPrintable(images.lastError));
        QCOMPARE(quint8(sectorOf(level4, 17)[6]), quint8(2));
        volume = readImage(level4);
        QCOMPARE(volume->format, DiscVolume::Format::Iso9660);
        QCOMPARE(volume->info.label, u"Level Four"_s);
        QCOMPARE(volume->info.serial, laneSum(sectorOf(level4, 16), false));
        QCOMPARE(volume->info.maxComponentLength, 221);
    }

    void udfHybridImage()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        const QString image = images.genisoimage(u"udf.iso"_s, {u"-J"_s, u"-udf"_s, u"-V"_s, u"UDF_HYBRID"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        const auto volume = readImage(image);
        QVERIFY(volume);
        QCOMPARE(volume->format, DiscVolume::Format::Udf);
        QCOMPARE(volume->info.fileSystem, u"UDF"_s);
        QCOMPARE(volume->info.label, BlkidVolumeProbe::probeFile(image)->label);
        QCOMPARE(volume->info.label, u"UDF_HYBRID"_s);
        const quint32 fsd = fileSetSector(image);
        QVERIFY(fsd > 256);
        QCOMPARE(volume->info.serial, laneSum(sectorOf(image, fsd), true));
        QCOMPARE(volume->info.maxComponentLength, 255);
        QVERIFY(volume->info.flags & VolumeFlags::ReadOnlyVolume);
        QVERIFY(volume->size > 0 && volume->size <= QFileInfo(image).size());

        // The same disc read by the ISO 9660 rules alone gives its Joliet side.
        const int fd = ::open(QFile::encodeName(image).constData(), O_RDONLY | O_CLOEXEC);
        FileSectorReader reader(fd, 0);
        QCOMPARE(VolumeDescriptors::readIso9660(reader)->format, DiscVolume::Format::Joliet);
    }

    void lastSessionOfAMultiSessionDisc()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        const QString first = images.genisoimage(u"first.iso"_s, {u"-V"_s, u"FIRST"_s});
        // The second session, written for sector 400 on, placed there in the disc image.
        const QString second = images.genisoimage(u"second.iso"_s, {u"-C"_s, u"0,400"_s, u"-V"_s, u"SECOND"_s});
        QVERIFY2(!first.isEmpty() && !second.isEmpty(), qPrintable(images.lastError));
        QFile disc(images.path(u"disc.iso"_s));
        QFile a(first), b(second);
        QVERIFY(disc.open(QIODevice::WriteOnly) && a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QByteArray bytes = a.readAll();
        QVERIFY(bytes.size() <= 400 * 2048);
        bytes.resize(400 * 2048, '\0');
        disc.write(bytes + b.readAll());
        disc.close();

        QCOMPARE(readImage(disc.fileName(), 400)->info.label, u"SECOND"_s);
        QCOMPARE(readImage(disc.fileName(), 0)->info.label, u"FIRST"_s);
    }

    void damagedImages()
    {
        REQUIRE_TOOL("genisoimage");
        IsoImages images;
        const QString image = images.genisoimage(u"cut.iso"_s, {u"-J"_s, u"-udf"_s, u"-V"_s, u"CUT"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(images.lastError));
        // Cut after the primary descriptor: the rest cannot be read, the primary answers.
        QVERIFY(QFile::resize(image, 17 * 2048));
        auto volume = readImage(image);
        QVERIFY(volume);
        QCOMPARE(volume->format, DiscVolume::Format::Iso9660);
        QCOMPARE(volume->info.label, u"CUT"_s);
        QVERIFY(QFile::resize(image, 16 * 2048));
        QVERIFY(!readImage(image));
        QVERIFY(!FileSectorReader::openImage(images.path(u"none.iso"_s)));
    }
};

QTEST_GUILESS_MAIN(TestDiscVolume)
#include "tst_discvolume.moc"
