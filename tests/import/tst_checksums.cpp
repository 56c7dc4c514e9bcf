// Imports with checksums, and the copies among the catalogued files.
#include "FakePlatform.h"
#include "RecordingProgress.h"
#include "TestSession.h"
#include "drives/platform/PlatformOverride.h"
#include "import/DiscImport.h"
#include "import/RowChecksums.h"
#include "store/Copies.h"
#include "store/FileChecksums.h"
#include "store/CataloguedDiscs.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestChecksums : public QObject {
    Q_OBJECT

    FakePlatform m_platform;
    PlatformOverride m_override{m_platform};

    void write(char letter, const QString &relative, const QByteArray &data)
    {
        const QString path = m_platform.drive(letter).root + u'/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    static DiscImport::Result import(TestSession &s, char letter, const QString &name, ImportChecksums &checksums,
                                     RecordingProgress &progress)
    {
        return DiscImport::run(s.dm, s.comm, letter, QString(QChar(char16_t(letter))) + u":\\"_s, {u"*.*"_s}, name,
                               progress, {.checksums = &checksums});
    }
    static qint64 code(TestSession &s, const QString &name) { return *CataloguedDiscs::codeOf(s.dm, name); }
    static QString connection(TestSession &s) { return s.dm.aConQl.connectionName(); }
    static qint64 rows(TestSession &s, const QString &table)
    {
        QSqlQuery query(QSqlDatabase::database(connection(s)));
        query.exec(u"select count(*) from "_s + table);
        return query.next() ? query.value(0).toLongLong() : -1;
    }

private slots:
    void initTestCase()
    {
        for (char letter : {'e', 'f', 'g', 'h'})
            m_platform.addDrive(letter, DriveTypes::CdRom);
        write('h', u"slow.bin"_s, QByteArray(10000, 's'));
        m_platform.faults().set(u"slow.bin"_s, 1, FaultyFiles::Fault::Stall);
        write('e', u"music/a.mp3"_s, "song");
        write('e', u"photo.jpg"_s, QByteArray(70000, 'p'));
        write('e', u"scratched.avi"_s, QByteArray(9000, 'v'));
        m_platform.faults().set(u"scratched.avi"_s, 2, FaultyFiles::Fault::Fail);
        // The same photo renamed, and a file like the first disc's song by name, size and
        // time only (its time is the scan's, as the others').
        write('f', u"copy of photo.jpg"_s, QByteArray(70000, 'p'));
        write('f', u"other.txt"_s, "only here");
        write('g', u"music/a.mp3"_s, "SONG");
        for (char letter : {'e', 'g'})
            m_platform.setCreationTime(letter, u"music/a.mp3"_s, 133000000000000000ull);
    }

    // Every file read and stored with its checksum; the unreadable one stored and marked,
    // and counted; a deleted disc takes its checksums with it.
    void importStoresChecksums()
    {
        TestSession s;
        RecordingProgress progress;
        ImportChecksums checksums{true};
        QCOMPARE(import(s, 'e', u"E"_s, checksums, progress), DiscImport::Result::Stored);
        QCOMPARE(checksums.files, 3);
        QCOMPARE(checksums.unreadable, 1);
        QVERIFY(progress.texts.filter(u"已校验:"_s).size() > 0);
        QMap<QString, QByteArray> stored;
        for (const FileChecksums::Entry &entry : FileChecksums::ofDisc(connection(s), code(s, u"E"_s)))
            stored.insert(entry.folder + entry.name, entry.digest);
        QCOMPARE(stored.size(), 3);
        QCOMPARE(stored.value(u"\\music\\a.mp3"_s), QCryptographicHash::hash("song", QCryptographicHash::Sha256));
        QVERIFY(stored.contains(u"\\scratched.avi"_s) && stored.value(u"\\scratched.avi"_s).isEmpty());
        QCOMPARE(FileChecksums::count(connection(s), code(s, u"E"_s)).unreadable, 1);
        QVERIFY(s.comm.ExecSql(*s.dm.aqryTempFind, u"delete from CdRomListMt where DiskName = ?"_s, {u"E"_s}));
        QCOMPARE(rows(s, u"FileChecksum"_s), 0);
    }

    // 取消 (the stop request) while the files are read stores nothing.
    void stoppedImportStoresNothing()
    {
        TestSession s;
        RecordingProgress progress;
        ImportChecksums checksums{true};
        QTimer::singleShot(100, [&] { progress.stop = true; });
        QCOMPARE(import(s, 'h', u"H"_s, checksums, progress), DiscImport::Result::NotStored);
        m_platform.faults().releaseStalls();
        QCOMPARE(rows(s, u"CdRomListMt"_s), 0);
        QCOMPARE(rows(s, u"FileChecksum"_s), 0);
    }

    // Copies by checksum across names, by name, size and time where a disc has none, and
    // files with different checksums kept apart.
    void copiesByChecksumAndByNameSizeTime()
    {
        TestSession s;
        RecordingProgress progress;
        ImportChecksums with{true};
        QCOMPARE(import(s, 'e', u"E"_s, with, progress), DiscImport::Result::Stored);
        QCOMPARE(import(s, 'f', u"F"_s, with, progress), DiscImport::Result::Stored);
        QCOMPARE(import(s, 'g', u"G"_s, with, progress), DiscImport::Result::Stored);
        QMap<QString, qint64> copied;
        qint64 files = 0;
        qsizetype walked = -1;
        for (const Copies::DiscShare &share : Copies::shares(connection(s), {}, [&](qsizetype read) {
                 walked = read;
                 return true;
             })) {
            copied.insert(share.name, share.copied);
            files += share.files;
        }
        QCOMPARE(walked, files); // the walk's last report counts every record
        // a.mp3 on E and G differ in content: no copies; only the photo is held twice.
        QCOMPARE(copied, (QMap<QString, qint64>{{u"E"_s, 1}, {u"F"_s, 1}, {u"G"_s, 0}}));
        QList<Copies::Group> groups;
        Copies::duplicates(connection(s), {}, [&](Copies::Group &&group) { groups.append(group); });
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].discs, (QStringList{u"E"_s, u"F"_s}));

        // Without checksums, the song of G counts as a copy of E's by name, size and time.
        QVERIFY(s.comm.ExecSql(*s.dm.aqryTempFind, u"delete from FileChecksum where FileRow in (select rowid from "
                                                   "CdRomListDt where DiskCode = ?)"_s,
                               {code(s, u"G"_s)}));
        QCOMPARE(Copies::shares(connection(s), code(s, u"G"_s)).value(0).copied, 1);
        QCOMPARE(Copies::shares(connection(s), code(s, u"E"_s)).value(0).copied, 2);
        QStringList single;
        Copies::single(connection(s), {}, [&](FileRow &&row) { single.append(row.caption + u':' + row.sub[0]); });
        single.sort();
        QCOMPARE(single, (QStringList{u"E:scratched.avi"_s, u"F:other.txt"_s}));

        // The three lists in one walk are the three walks' lists.
        QStringList singleAtOnce;
        int groupsAtOnce = 0;
        const QList<Copies::DiscShare> sharesAtOnce = Copies::all(
            connection(s), {}, [&](FileRow &&row) { singleAtOnce.append(row.caption + u':' + row.sub[0]); },
            [&](Copies::Group &&) { ++groupsAtOnce; });
        singleAtOnce.sort();
        QCOMPARE(singleAtOnce, single);
        int groupsApart = 0;
        Copies::duplicates(connection(s), {}, [&](Copies::Group &&) { ++groupsApart; });
        QCOMPARE(groupsAtOnce, groupsApart);
        const QList<Copies::DiscShare> sharesApart = Copies::shares(connection(s));
        QCOMPARE(sharesAtOnce.size(), sharesApart.size());
        for (qsizetype i = 0; i < sharesApart.size(); ++i)
            QCOMPARE(sharesAtOnce[i].copied, sharesApart[i].copied);
    }
};

QTEST_GUILESS_MAIN(TestChecksums)
#include "tst_checksums.moc"
