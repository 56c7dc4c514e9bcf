// Reading drives, readiness, trays, version texts and text replacement.
#include "FakePlatform.h"
#include "TestProgramDir.h"
#include "drives/ConvertError.h"
#include "drives/DriveUtilities.h"
#include "drives/FileVersion.h"
#include "drives/ReplaceAll.h"
#include "drives/platform/PlatformOverride.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
RDriveInfo readDrive(char letter)
{
    RDriveInfo info;
    info.DiskLabel = u"left over"_s;
    info.CheckSNChange = true;
    info.CheckPeriod = 5;
    info.OnSNChanged = [](QObject *) {};
    GetDriveInfo(letter, info);
    return info;
}

void verifyNoVolume(const RDriveInfo &info)
{
    QCOMPARE(info.DiskLabel, QString());
    QCOMPARE(info.DiskSerial, u"00000000"_s);
    QCOMPARE(info.FileSystem, QString());
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return file.fileName();
}
} // namespace

class TestDriveUtilities : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_override.emplace(*m_platform);
    }
    void cleanup()
    {
        m_override.reset();
        m_platform.reset();
    }

    void readsAVolume()
    {
        FakePlatform::Drive &d = m_platform->addDrive('d', DriveTypes::Removable);
        d.volume = VolumeInfo{u"音乐盘"_s, 0xABCD1234, 255, u"FAT32"_s, 6};
        const RDriveInfo info = readDrive('D');
        QCOMPARE(info.DiskLabel, u"音乐盘"_s);
        QCOMPARE(info.DiskSerial, u"ABCD1234"_s);
        QCOMPARE(info.ComponentLen, 255);
        QCOMPARE(info.FileSystem, u"FAT32"_s);
        QCOMPARE(info.DriveType, DriveTypes::Removable);
        QCOMPARE(info.DriveFlags, 6u);
        QCOMPARE(info.Drive, 'D'); // as the caller wrote it
        QVERIFY(!info.OnDriveChanged);
        QVERIFY(!info.OnSNChanged);
        QCOMPARE(info.CheckSNChange, false);
        QCOMPARE(info.CheckPeriod, 2000);
    }

    void serialHasEightUpperCaseDigits()
    {
        m_platform->addDrive('e', DriveTypes::CdRom).volume.serial = 0x1F;
        QCOMPARE(readDrive('e').DiskSerial, u"0000001F"_s);
        m_platform->drive('e').volume.serial = 0xabc;
        QCOMPARE(readDrive('e').DiskSerial, u"00000ABC"_s);
    }

    void labelAndFileSystemEndAtNul()
    {
        FakePlatform::Drive &d = m_platform->addDrive('f');
        d.volume.label = u"DATA"_s + QChar(0) + u"junk"_s;
        d.volume.fileSystem = u"NTFS"_s + QChar(0) + u"x"_s;
        const RDriveInfo info = readDrive('f');
        QCOMPARE(info.DiskLabel, u"DATA"_s);
        QCOMPARE(info.FileSystem, u"NTFS"_s);
    }

    void emptyCdRomDriveHasNoVolume()
    {
        m_platform->addDrive('e', DriveTypes::CdRom).ready = false;
        const RDriveInfo info = readDrive('e');
        verifyNoVolume(info);
        QCOMPARE(info.DriveType, DriveTypes::CdRom);
        QCOMPARE(info.ComponentLen, 0);
        QCOMPARE(info.DriveFlags, 0u);
        QCOMPARE(info.Drive, 'e');
        QCOMPARE(info.CheckSNChange, false);
        QCOMPARE(info.CheckPeriod, 2000);
    }

    void serialZeroMeansNoReadableVolume()
    {
        m_platform->addDrive('d').volume = VolumeInfo{u"DATA"_s, 0, 255, u"NTFS"_s, 0x700ff};
        const RDriveInfo info = readDrive('d');
        verifyNoVolume(info);
        QCOMPARE(info.ComponentLen, 255);
        QCOMPARE(info.DriveFlags, 0x700ffu);
        QCOMPARE(info.DriveType, DriveTypes::Fixed);
    }

    void emptyFileSystemMeansNoReadableVolume()
    {
        m_platform->addDrive('d').volume = VolumeInfo{u"DATA"_s, 0x1234, 255, QString(), 7};
        const RDriveInfo info = readDrive('d');
        verifyNoVolume(info);
        QCOMPARE(info.ComponentLen, 255);
        QCOMPARE(info.DriveFlags, 7u);
    }

    void letterWithoutDrive()
    {
        for (char letter : {'q', 'Q', '1', '\0'}) {
            const RDriveInfo info = readDrive(letter);
            verifyNoVolume(info);
            QCOMPARE(info.DriveType, DriveTypes::NoRootDir);
            QCOMPARE(info.ComponentLen, 0);
            QCOMPARE(info.DriveFlags, 0u);
            QCOMPARE(info.Drive, letter);
        }
    }

    void readinessIgnoresCase()
    {
        m_platform->addDrive('d', DriveTypes::CdRom);
        QVERIFY(IsDriveReady('d'));
        QVERIFY(IsDriveReady('D'));
        m_platform->drive('d').ready = false;
        QVERIFY(!IsDriveReady('d'));
        QVERIFY(!IsDriveReady('D'));
        QVERIFY(!IsDriveReady('x')); // no such drive: not ready, no error
    }

    void readinessRefusesNonLetters()
    {
        for (char c : {'1', '@', '[', '`', '{', ':', char(0xe9)}) {
            try {
                IsDriveReady(c);
                QFAIL("no error for a character that is no letter");
            } catch (const ConvertError &error) {
                QCOMPARE(error.message(), u"not a valid drive?"_s);
            }
        }
    }

    void traysMoveOnlyForCdRomDrives()
    {
        m_platform->addDrive('e', DriveTypes::CdRom);
        m_platform->addDrive('c');
        QVERIFY(OpenCdDoor(u"E:"_s));
        QVERIFY(CloseCdDoor(u"e:"_s));
        QVERIFY(!OpenCdDoor(u"C:"_s));
        QVERIFY(!CloseCdDoor(u"Z:"_s));
        QCOMPARE(m_platform->trayCalls.size(), 4);
        QCOMPARE(m_platform->trayCalls[0].letter, 'e');
        QVERIFY(m_platform->trayCalls[0].open);
        QVERIFY(!m_platform->trayCalls[1].open);

        m_platform->drive('e').openTrayResult = false; // e.g. the drive is busy
        QVERIFY(!OpenCdDoor(u"E:"_s));
    }

    // While a drive's tray command waits (events run), another one for the same drive
    // fails at once; other drives and later commands go through.
    void onePendingTrayCommandPerDrive()
    {
        struct WaitingPlatform : FakePlatform {
            std::function<void()> whileWaiting;
            bool openTray(char letter) override
            {
                if (whileWaiting)
                    std::exchange(whileWaiting, nullptr)();
                return FakePlatform::openTray(letter);
            }
        } platform;
        const PlatformOverride override(platform);
        platform.addDrive('e', DriveTypes::CdRom);
        platform.addDrive('f', DriveTypes::CdRom);
        bool again = true, other = false;
        platform.whileWaiting = [&] {
            again = OpenCdDoor(u"E:"_s);
            other = OpenCdDoor(u"F:"_s);
        };
        QVERIFY(OpenCdDoor(u"E:"_s));
        QVERIFY(!again);
        QVERIFY(other);
        QVERIFY(OpenCdDoor(u"E:"_s));
        QCOMPARE(platform.trayCalls.size(), 3);
    }

    void trayCommandsRefuseOtherNames()
    {
        m_platform->addDrive('e', DriveTypes::CdRom);
        for (const QString &name : {u""_s, u"1:"_s, u"EE"_s, u"E:x"_s, u"光:"_s, u"E::"_s}) {
            QVERIFY2(!OpenCdDoor(name), qPrintable(name));
            QVERIFY2(!CloseCdDoor(name), qPrintable(name));
        }
        QVERIFY(m_platform->trayCalls.isEmpty());
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("expected");
        QTest::newRow("doubles quotes") << u"it's Bob's"_s << u"'"_s << u"''"_s << u"it''s Bob''s"_s;
        QTest::newRow("new text not searched again") << u"aa"_s << u"a"_s << u"aa"_s << u"aaaa"_s;
        QTest::newRow("no overlaps") << u"aaa"_s << u"aa"_s << u"b"_s << u"ba"_s;
        QTest::newRow("empty old") << u"abc"_s << QString() << u"x"_s << u"abc"_s;
        QTest::newRow("text shorter than old") << u"ab"_s << u"abc"_s << u"x"_s << u"ab"_s;
        QTest::newRow("empty new deletes") << u"a-b-c-"_s << u"-"_s << QString() << u"abc"_s;
        QTest::newRow("case counts") << u"Aa"_s << u"a"_s << u"b"_s << u"Ab"_s;
        QTest::newRow("Chinese") << u"光盘\\音乐\\"_s << u"\\"_s << u"/"_s << u"光盘/音乐/"_s;
        QTest::newRow("not found") << u"abc"_s << u"x"_s << u"y"_s << u"abc"_s;
    }

    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, expected);
        const QString original = text;
        QCOMPARE(ReplaceAllCopy(text, before, after), expected);
        QCOMPARE(text, original);
        ReplaceAll(text, before, after);
        QCOMPARE(text, expected);
    }

    void versionOfTheProgram()
    {
        QString version = u"unchanged"_s;
        GetFileVersionString(QStringLiteral(QUILLON_PROGRAM), version);
        QCOMPARE(version, u"0.19.0.8"_s);
    }

    void versionWithoutNoteLeavesTextAlone()
    {
        QTemporaryDir dir;
        QByteArray program = fileBytes(QStringLiteral(QUILLON_PROGRAM));
        QVERIFY(program.size() > 64);
        QByteArray badTable = program;
        qToLittleEndian<quint64>(quint64(1) << 62, badTable.data() + 40); // section table far past the end
        qToLittleEndian<quint64>(quint64(1) << 62, badTable.data() + 32); // program headers too
        const QStringList files{
            QCoreApplication::applicationFilePath(), // an ELF file without the note
            writeFile(dir, u"text.txt"_s, "just some text\n"),
            writeFile(dir, u"empty"_s, {}),
            writeFile(dir, u"cut.elf"_s, program.left(40)),
            writeFile(dir, u"bad-table.elf"_s, badTable),
            dir.filePath(u"missing"_s),
        };
        for (const QString &file : files) {
            QString version = u"unchanged"_s;
            GetFileVersionString(file, version);
            QVERIFY2(version == u"unchanged"_s, qPrintable(file));
        }
    }

    void damagedFilesAreReadSafely_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<qint64>("keep");
        QTest::addColumn<QString>("found");
        // The program cut after its notes: found through the program headers alone.
        QTest::newRow("program headers") << QStringLiteral(QUILLON_PROGRAM) << qint64(4096) << u"0.19.0.8"_s;
        // An object file: found through its section table.
        QTest::newRow("section table") << QStringLiteral(NOTE_WITHOUT_FILE_VERSION) << (qint64(1) << 30) << QString();
    }

    void damagedFilesAreReadSafely()
    {
        // Damaged file header and tables: the reader finds the note or nothing, and never
        // reads outside the file.
        QFETCH(QString, source);
        QFETCH(qint64, keep);
        QFETCH(QString, found);
        QTemporaryDir dir;
        const QByteArray original = fileBytes(source).left(keep);
        QString version = u"unchanged"_s;
        GetFileVersionString(writeFile(dir, u"whole"_s, original), version);
        QCOMPARE(version, found);

        const auto *bytes = reinterpret_cast<const uchar *>(original.constData());
        const qint64 programHeaders = qFromLittleEndian<quint64>(bytes + 32);
        const qint64 sections = qFromLittleEndian<quint64>(bytes + 40);
        const qint64 programHeadersEnd = programHeaders + 56 * qFromLittleEndian<quint16>(bytes + 56);
        const qint64 sectionsEnd = sections + 64 * qFromLittleEndian<quint16>(bytes + 60);
        QList<QPair<qint64, qint64>> ranges{{0, 64}};
        if (programHeaders > 0 && programHeadersEnd <= original.size())
            ranges.append({programHeaders, programHeadersEnd});
        if (sections > 0 && sectionsEnd <= original.size())
            ranges.append({sections, sectionsEnd});
        QRandomGenerator random(4);
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = original;
            for (int i = 0; i < 6; ++i) {
                const auto &range = ranges[random.bounded(int(ranges.size()))];
                damaged[random.bounded(range.first, range.second)] = char(random.bounded(256));
            }
            version = u"unchanged"_s;
            GetFileVersionString(writeFile(dir, u"damaged"_s, damaged), version);
            QVERIFY2(version == u"unchanged"_s || version == found, qPrintable(version));
        }
    }

    void versionNoteWithoutFileVersionGivesEmpty()
    {
        QString version = u"unchanged"_s;
        GetFileVersionString(QStringLiteral(NOTE_WITHOUT_FILE_VERSION), version);
        QCOMPARE(version, QString());
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
    std::optional<PlatformOverride> m_override;
};

QTEST_GUILESS_MAIN(TestDriveUtilities)
#include "tst_driveutilities.moc"
