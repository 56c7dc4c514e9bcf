// Storing the rows of an import as file records.
#include "CatalogueFixture.h"
#include "FakePlatform.h"
#include "RecordingErrorPresenter.h"
#include "RecordingProgress.h"
#include "TestSession.h"
#include "drives/platform/PlatformOverride.h"
#include "import/CatalogueWriter.h"
#include "import/DiscImport.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestWriter : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> m_session;

    std::optional<qint64> store(const FileRowModel &rows, const QString &disc, RecordingProgress &progress)
    {
        return CatalogueWriter::StoreDisc(m_session->dm, m_session->comm, {disc, u"LABEL"_s, u"0000ABCD"_s}, rows,
                                          progress);
    }

    int discCount()
    {
        return m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"select DiskCode from CdRomListMt"_s);
    }

    // name|size|date|path of the disc's records, in the order they were written.
    QStringList records(qint64 disc)
    {
        QSqlQuery q(QSqlDatabase::database(m_session->dm.aConQl.connectionName()));
        q.prepare(
            u"select FileName, FileSize, FileData, FilePath from CdRomListDt where DiskCode = ? order by rowid"_s);
        q.addBindValue(disc);
        q.exec();
        QStringList out;
        while (q.next())
            out << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                               q.value(3).toString()}
                       .join(u'|');
        return out;
    }

    static void fill(FileRowModel &rows, int n, int badAt = -1)
    {
        for (int i = 0; i < n; ++i)
            rows.appendRow(FileRow::scanned(u"f%1.mp3"_s.arg(i), QString::number(i),
                                            i == badAt ? u"2024-13-45"_s : u"2024-01-02 03:04:05"_s, u"e:\\dir\\"_s,
                                            u"\\dir\\"_s));
    }

private slots:
    void init() { m_session = std::make_unique<TestSession>(); }

    void cleanup() { m_session.reset(); }

    void storesRowsWithProgress()
    {
        FileRowModel rows;
        fill(rows, 250);
        RecordingProgress progress;
        const auto disc = store(rows, u"碟"_s, progress);
        QVERIFY(disc);
        QCOMPARE(progress.texts, (QStringList{QString(), u"正在导入第0条记录"_s, u"正在导入第100条记录"_s,
                                              u"正在导入第200条记录"_s, u"完成导入"_s}));
        QCOMPARE(progress.rangeMax, 0);
        QCOMPARE(records(*disc).size(), 250);
        QCOMPARE(records(*disc).first(), u"f0.mp3|0|2024-01-02 03:04:05|\\dir\\"_s);
        QVERIFY(m_session->presenter.calls.isEmpty());
    }

    void namesAndPathsAsTheyAre()
    {
        FileRowModel rows;
        rows.appendRow(FileRow::scanned(u"O'Brien.mp3"_s, u"5368709120"_s, u"2024-01-01"_s, u"e:\\"_s, u"\\"_s));
        rows.appendRow(
            FileRow::scanned(u"back`quote.mp3"_s, u"1"_s, u"2024-01-01 00:00:01"_s, u"e:\\a\\b\\"_s, u"\\a\\b\\"_s));
        RecordingProgress progress;
        const auto disc = store(rows, u"Tom's `disc`"_s, progress);
        QVERIFY(disc);
        QCOMPARE(records(*disc), (QStringList{u"O'Brien.mp3|5368709120|2024-01-01|\\"_s,
                                              u"back`quote.mp3|1|2024-01-01 00:00:01|\\a\\b\\"_s}));
    }

    // An empty list stores the disc alone (the dialog never offers one).
    void emptyListStoresTheDiscAlone()
    {
        FileRowModel rows;
        RecordingProgress progress;
        const auto disc = store(rows, u"空"_s, progress);
        QVERIFY(disc);
        QCOMPARE(progress.texts.last(), u"完成导入"_s);
        QVERIFY(records(*disc).isEmpty());
        QCOMPARE(discCount(), 1);
        QVERIFY(m_session->presenter.calls.isEmpty());
    }

    // The rows go under the code of the record this import inserted, even beside an
    // older disc of the same name.
    void rowsGoUnderTheInsertedDisc()
    {
        const int older = m_session->data.addDisc(u"同名"_s);
        FileRowModel rows;
        fill(rows, 3);
        RecordingProgress progress;
        const auto disc = store(rows, u"同名"_s, progress);
        QVERIFY(disc && *disc != older);
        QCOMPARE(records(*disc).size(), 3);
        QVERIFY(records(older).isEmpty());
    }

    // A failing row, a refused disc record or a stop request: neither the disc nor any
    // of its files is left, and the connection is usable again.
    void failuresAndStopsLeaveNothing()
    {
        FileRowModel rows;
        fill(rows, 120, 57);
        RecordingProgress progress;
        QVERIFY(!store(rows, u"坏"_s, progress));
        QCOMPARE(progress.texts.last(), u"完成导入"_s);
        QCOMPARE(m_session->presenter.calls.size(), 1);
        QCOMPARE(m_session->presenter.calls.first().message, u"导入失败"_s);
        QVERIFY(m_session->presenter.calls.first().details.contains(u"CHECK"_s));

        FileRowModel good;
        fill(good, 300);
        QSqlQuery trigger(QSqlDatabase::database(m_session->dm.aConQl.connectionName()));
        QVERIFY(trigger.exec(
            u"create trigger refuse before insert on CdRomListMt begin select raise(abort, 'disc refused'); end"_s));
        QVERIFY(!store(good, u"拒"_s, progress));
        QCOMPARE(m_session->presenter.calls.size(), 2);
        QVERIFY(m_session->presenter.calls.last().details.contains(u"disc refused"_s));
        QVERIFY(trigger.exec(u"drop trigger refuse"_s));

        RecordingProgress stopping;
        stopping.onReport = [&](int i) { stopping.stop = i >= 100; };
        QVERIFY(!store(good, u"停"_s, stopping));
        QCOMPARE(stopping.texts.last(), u"完成导入"_s);
        QCOMPARE(m_session->presenter.calls.size(), 2);

        QCOMPARE(discCount(), 0);
        QCOMPARE(m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"select FileName from CdRomListDt"_s), 0);
        QVERIFY(store(good, u"好"_s, progress));
    }

    // The window-free import: a disc's matching files under a new disc record with the
    // drive's label and serial; a taken name and an empty scan store nothing.
    void wholeImportWithoutWindow()
    {
        FakePlatform platform;
        const PlatformOverride override(platform);
        FakePlatform::Drive &drive = platform.addDrive('e', DriveTypes::CdRom);
        drive.volume.label = u"MUSIC"_s;
        drive.volume.serial = 0x1234ABCD;
        QVERIFY(QDir().mkpath(drive.root + u"/a"_s));
        for (const QString &name : {u"a/one.mp3"_s, u"two.MP3"_s, u"skip.txt"_s}) {
            QFile file(drive.root + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        TdmQL &dm = m_session->dm;
        TLCommFunction &comm = m_session->comm;
        RecordingProgress progress;
        const auto import = [&](const QStringList &masks, const QString &name) {
            return DiscImport::run(dm, comm, 'e', u"e:\\"_s, masks, name, progress);
        };
        QCOMPARE(import({u"*.mp3"_s}, u"碟"_s), DiscImport::Result::Stored);
        QVERIFY(DiscImport::nameTaken(dm, u"碟"_s));
        QCOMPARE(comm.OpenSql(*dm.aqryTempFind, u"select DiskCode, DiskLabel, DiskSerial from CdRomListMt"_s), 1);
        const int code = int(dm.aqryTempFind->FieldByName(u"DiskCode"_s).AsInteger());
        QCOMPARE(dm.aqryTempFind->FieldByName(u"DiskLabel"_s).AsString(), u"MUSIC"_s);
        QCOMPARE(dm.aqryTempFind->FieldByName(u"DiskSerial"_s).AsString(), u"1234ABCD"_s);
        QCOMPARE(records(code).size(), 2);
        QCOMPARE(import({u"*.mp3"_s}, u"碟"_s), DiscImport::Result::NameTaken);
        QCOMPARE(import({u"*.wav"_s}, u"另一张"_s), DiscImport::Result::NoFiles);
        QCOMPARE(comm.OpenSql(*dm.aqryTempFind, u"select DiskCode from CdRomListMt"_s), 1);
    }
};

QTEST_GUILESS_MAIN(TestWriter)
#include "tst_writer.moc"
