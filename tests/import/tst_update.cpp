// Updating a disc in place from its source: the difference, what is kept, where the source
// is found, and what a missing source or a stop leaves.
#include "FakePlatform.h"
#include "RecordingProgress.h"
#include "TestSession.h"
#include "drives/platform/PlatformOverride.h"
#include "import/DiscImport.h"
#include "import/DiscUpdate.h"
#include "store/CataloguedDiscs.h"
#include "store/DiscDetails.h"
#include "store/DiscFileEdits.h"

#include <QCryptographicHash>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr quint64 kTime = 133000000000000000ull;
}

class TestUpdate : public QObject {
    Q_OBJECT

    FakePlatform m_platform;
    PlatformOverride m_override{m_platform};

    // A file below a drive's root with a fixed creation time, so that only what a test
    // changes differs from one scan to the next.
    void write(char letter, const QString &relative, const QByteArray &data)
    {
        QVERIFY(m_platform.writeFile(letter, relative, data));
        m_platform.setCreationTime(letter, relative, kTime);
    }
    void remove(char letter, const QString &relative)
    {
        QVERIFY(QFile::remove(m_platform.drive(letter).root + u'/' + relative));
    }

    // A folder import of photos on drive e, with checksums.
    static qint64 importPhotos(TestSession &s, char letter = 'e')
    {
        RecordingProgress progress;
        ImportChecksums checksums{true};
        const auto result = DiscImport::run(s.dm, s.comm, letter, QString(QChar(char16_t(letter))) + u":\\photos"_s,
                                            {u"*.*"_s}, u"USB"_s, progress,
                                            {ScanTime::Created, nullptr, ImportRecord::Source::Folder, u"全部文件"_s,
                                             &checksums});
        if (result != DiscImport::Result::Stored)
            return -1;
        return *CataloguedDiscs::codeOf(s.dm, u"USB"_s);
    }
    static QString connection(TestSession &s) { return s.dm.aConQl.connectionName(); }
    static QStringList names(const QList<StoredFile> &files)
    {
        QStringList list;
        for (const StoredFile &file : files)
            list.append(file.record.folder + file.record.name);
        return list;
    }

    void addPhotoDrive(char letter, const QString &uuid)
    {
        m_platform.addDrive(letter).uuid = uuid;
        write(letter, u"photos/a.jpg"_s, "aaaa");
        write(letter, u"photos/b.jpg"_s, "bbbb");
        write(letter, u"photos/sub/c.jpg"_s, "cccc");
        write(letter, u"photos/d.jpg"_s, "dddd");
    }

private slots:
    void init() { addPhotoDrive('e', u"1111-AAAA"_s); }
    void cleanup()
    {
        for (const char letter : m_platform.letters()) {
            QDir(m_platform.drive(letter).root).removeRecursively();
            m_platform.removeDrive(letter);
        }
    }

    // Added, removed and changed files (by size, and by checksum alone); the disc keeps its
    // code and details, unchanged records keep their rows and checksums, changed ones their
    // place, new ones come last.
    void updateAppliesTheDifferenceInPlace()
    {
        TestSession s;
        const qint64 code = importPhotos(s);
        QVERIFY(code > 0);
        DiscDetailsStore::write(connection(s), code, {u"抽屉二"_s, u"旅行"_s, u"照片"_s});
        const QList<StoredFile> before = DiscFileEdits::filesOf(connection(s), code);
        remove('e', u"photos/b.jpg"_s);
        write('e', u"photos/sub/c.jpg"_s, "cccccc");
        write('e', u"photos/d.jpg"_s, "DDDD"); // same size and time: only the checksum tells
        write('e', u"photos/new/e.jpg"_s, "eeee");
        write('e', u"photos/f.jpg"_s, "ffff");

        DiscUpdate update(s.dm, code);
        RecordingProgress progress;
        QCOMPARE(update.prepare(progress), DiscUpdate::Result::Ready);
        const DiscDifference &difference = update.difference();
        QCOMPARE(difference.added.size(), 2);
        QCOMPARE(names(difference.removed), QStringList{u"\\photos\\b.jpg"_s});
        QCOMPARE(difference.changed.size(), 2);
        QCOMPARE(difference.unchanged, 1);
        QCOMPARE(DiscFileEdits::filesOf(connection(s), code).size(), before.size()); // nothing written yet

        QVERIFY(update.apply(progress));
        const QList<StoredFile> after = DiscFileEdits::filesOf(connection(s), code);
        QCOMPARE(*CataloguedDiscs::codeOf(s.dm, u"USB"_s), code);
        QCOMPARE(DiscDetailsStore::read(connection(s), code).location, u"抽屉二"_s);
        const auto find = [](const QList<StoredFile> &files, const QString &name) {
            return *std::find_if(files.cbegin(), files.cend(), [&](const StoredFile &f) { return f.record.name == name; });
        };
        QCOMPARE(find(after, u"a.jpg"_s).row, find(before, u"a.jpg"_s).row);
        QCOMPARE(find(after, u"a.jpg"_s).digest, find(before, u"a.jpg"_s).digest);
        QCOMPARE(find(after, u"c.jpg"_s).row, find(before, u"c.jpg"_s).row);
        QCOMPARE(find(after, u"c.jpg"_s).record.size, u"6"_s);
        QCOMPARE(*find(after, u"d.jpg"_s).digest, QCryptographicHash::hash("DDDD", QCryptographicHash::Sha256));
        QCOMPARE(*find(after, u"f.jpg"_s).digest, QCryptographicHash::hash("ffff", QCryptographicHash::Sha256));
        // The old records in their order, then the new ones.
        QStringList expected = names(before);
        expected.removeOne(u"\\photos\\b.jpg"_s);
        const QStringList now = names(after);
        QCOMPARE(now.mid(0, expected.size()), expected);
        QCOMPARE(QSet<QString>(now.cbegin() + expected.size(), now.cend()),
                 (QSet<QString>{u"\\photos\\new\\e.jpg"_s, u"\\photos\\f.jpg"_s}));

        // A second update finds nothing to do.
        DiscUpdate again(s.dm, code);
        QCOMPARE(again.prepare(progress), DiscUpdate::Result::Ready);
        QVERIFY(again.difference().isEmpty());
    }

    // The folder's volume found by its UUID under another letter; another volume holding
    // the same folder is not taken for it, and no volume of that UUID is a missing source.
    void sourceFoundByVolumeUuid()
    {
        TestSession s;
        const qint64 code = importPhotos(s);
        const std::optional<ImportRecord> record = ImportRecordStore::read(connection(s), code);
        QCOMPARE(record->volumeUuid, u"1111-AAAA"_s);
        QCOMPARE(record->volumePath, u"photos"_s);
        m_platform.removeDrive('e');
        addPhotoDrive('f', u"2222-BBBB"_s);
        QVERIFY(!DiscUpdate::findSource(*record));
        addPhotoDrive('h', u"1111-AAAA"_s);
        const std::optional<DiscUpdate::Source> found = DiscUpdate::findSource(*record);
        QVERIFY(found);
        QCOMPARE(found->letter, 'h');
        QCOMPARE(found->root, u"h:\\photos"_s);
        DiscUpdate update(s.dm, code);
        RecordingProgress progress;
        QCOMPARE(update.prepare(progress), DiscUpdate::Result::Ready);
        QVERIFY(update.difference().isEmpty());
    }

    // A source that is not there, and a stop while reading or writing, change nothing.
    void missingSourceAndStopChangeNothing()
    {
        TestSession s;
        const qint64 code = importPhotos(s);
        const QList<StoredFile> before = DiscFileEdits::filesOf(connection(s), code);
        for (int i = 0; i < 250; ++i)
            write('e', u"photos/many/%1.jpg"_s.arg(i), "x");
        remove('e', u"photos/a.jpg"_s);
        {
            DiscUpdate update(s.dm, code);
            RecordingProgress progress;
            progress.onReport = [&](int position) { progress.stop = position >= 200; };
            QCOMPARE(update.prepare(progress), DiscUpdate::Result::Ready);
            QVERIFY(!update.apply(progress));
        }
        {
            write('e', u"photos/slow.bin"_s, QByteArray(10000, 's'));
            m_platform.faults().set(u"photos/slow.bin"_s, 1, FaultyFiles::Fault::Stall);
            DiscUpdate update(s.dm, code);
            RecordingProgress progress;
            QTimer::singleShot(100, [&] { progress.stop = true; });
            QCOMPARE(update.prepare(progress), DiscUpdate::Result::Stopped);
            m_platform.faults().releaseStalls();
        }
        m_platform.drive('e').uuid = u"3333-CCCC"_s;
        {
            DiscUpdate update(s.dm, code);
            RecordingProgress progress;
            QCOMPARE(update.prepare(progress), DiscUpdate::Result::NoSource);
        }
        const QList<StoredFile> after = DiscFileEdits::filesOf(connection(s), code);
        QCOMPARE(names(after), names(before));
    }
};

QTEST_GUILESS_MAIN(TestUpdate)
#include "tst_update.moc"
