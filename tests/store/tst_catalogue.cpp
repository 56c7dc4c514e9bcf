// Connecting to the catalogue file, and compacting it when the program ends.
#include "RecordingErrorPresenter.h"
#include "TestProgramDir.h"
#include "store/CatalogueLock.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "store/Schema.h"

#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TdmQL::CompactStep)

namespace {

struct Helpers {
    RecordingErrorPresenter presenter;
    TLCommFunction comm{&presenter};
    TLCommBusiness business{comm};
};

// Fills a disc with rows and deletes most of them, so compaction has space to give back.
void addAndDropRows(TdmQL &dm, TLCommFunction &comm, int rows)
{
    QVERIFY(comm.ExecSql(*dm.aqryTempFind, u"Insert Into CdRomListMt (DiskName) values (?)"_s, {u"keep"_s}));
    QVERIFY(comm.ExecSql(*dm.aqryTempFind, u"Insert Into CdRomListMt (DiskName) values (?)"_s, {u"drop"_s}));
    dm.aConQl.BeginTrans();
    for (int i = 0; i < rows; ++i) {
        const int disc = i < 10 ? 1 : 2;
        QVERIFY(comm.ExecSql(*dm.aqryTempFind,
                             u"Insert Into CdRomListDt (DiskCode, FileName, FileSize, FileData, FilePath) "
                             "values (?, ?, ?, ?, ?)"_s,
                             {disc, u"文件%1.mp3"_s.arg(i), u"123456"_s, u"2020-01-02 03:04:05"_s,
                              u"\\一个很长的目录名\\another long folder name\\"_s}));
    }
    dm.aConQl.CommitTrans();
    dm.aqryCdRomListMt->Open();
    QVERIFY(dm.aqryCdRomListMt->Locate(u"DiskName"_s, u"drop"_s));
    QVERIFY(dm.aqryCdRomListMt->Delete());
}

int countFiles(const QString &catalogue)
{
    const QString name = u"count-check"_s;
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(catalogue);
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(u"select count(*) from CdRomListDt"_s) && q.next())
                count = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return count;
}

} // namespace

namespace {

ino_t inodeOf(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void closingCompactsTheCatalogue()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        Helpers h;
        qint64 before = 0;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            QVERIFY(dm.Connected());
            addAndDropRows(dm, h.comm, 5000);
            before = QFileInfo(dir.catalogue()).size();
        }
        QVERIFY(h.presenter.calls.isEmpty());
        QVERIFY(!QFileInfo::exists(dir.compactCopy()));
        QVERIFY2(QFileInfo(dir.catalogue()).size() < before / 2,
                 qPrintable(u"%1 -> %2"_s.arg(before).arg(QFileInfo(dir.catalogue()).size())));
        QCOMPARE(countFiles(dir.catalogue()), 10);
        TdmQL again(dir.path(), h.comm, h.business);
        QVERIFY(again.Connected());
        QCOMPARE(h.comm.OpenSql(*again.aqryExtMt, u"select extName from extMt"_s), 5);
    }

    void badCatalogueFailsToConnect_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("detail");
        QTest::newRow("missing") << QByteArray() << u"dbQL.mdb"_s;
        QTest::newRow("not sqlite") << QByteArray("Standard Jet DB\0\0\0 not a database at all", 40)
                                    << u"file is not a database"_s;
        QTest::newRow("empty file") << QByteArray("") << u"不是光盘索引库"_s;
    }

    void badCatalogueFailsToConnect()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, detail);
        TestProgramDir dir(TestProgramDir::Catalogue::None);
        const bool missing = QByteArray(QTest::currentDataTag()) == "missing";
        if (!missing) {
            QFile file(dir.catalogue());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        Helpers h;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            QVERIFY(!dm.Connected());
        }
        QCOMPARE(h.presenter.calls.size(), 1);
        QCOMPARE(h.presenter.calls.first().message, u"连接失败"_s);
        QCOMPARE(h.presenter.calls.first().caption, u"错误提示"_s);
        QVERIFY2(h.presenter.calls.first().details.contains(detail), qPrintable(h.presenter.calls.first().details));
        QCOMPARE(QFileInfo::exists(dir.catalogue()), !missing);
        if (!missing)
            QCOMPARE(fileBytes(dir.catalogue()), content);
        QVERIFY(!QFileInfo::exists(dir.compactCopy()));
    }

    void otherSqliteFileIsNotACatalogue()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::None);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
            db.setDatabaseName(dir.catalogue());
            QVERIFY(db.open());
            QSqlQuery(db).exec(u"create table CdRomListMt (x)"_s);
            db.close();
        }
        QSqlDatabase::removeDatabase(u"other"_s);
        const QByteArray content = fileBytes(dir.catalogue());
        Helpers h;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            QVERIFY(!dm.Connected());
        }
        QCOMPARE(h.presenter.calls.size(), 1);
        QVERIFY(h.presenter.calls.first().details.contains(u"不是光盘索引库"_s));
        QCOMPARE(fileBytes(dir.catalogue()), content);
        QVERIFY(!QFileInfo::exists(dir.compactCopy()));

        // A catalogue whose table lacks a column is refused the same way.
        TestProgramDir partial(TestProgramDir::Catalogue::None);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"partial"_s);
            db.setDatabaseName(partial.catalogue());
            QVERIFY(db.open());
            QSqlQuery(db).exec(u"PRAGMA application_id = %1"_s.arg(CatalogueSchema::ApplicationId));
            QSqlQuery(db).exec(u"create table CdRomListMt (DiskCode, DiskName)"_s);
            db.close();
        }
        QSqlDatabase::removeDatabase(u"partial"_s);
        TdmQL dm(partial.path(), h.comm, h.business);
        QVERIFY(!dm.Connected());
        QVERIFY(h.presenter.calls.last().details.contains(u"CdRomListMt.DiskLabel"_s));
    }

    // A copy left by a killed compaction is removed while the catalogue is locked, and the
    // catalogue is compacted as after any run; the catalogue keeps its mode.
    void leftoverCopyIsReplacedAndModeKept()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        QFile temp(dir.compactCopy());
        QVERIFY(temp.open(QIODevice::WriteOnly));
        temp.write("left from an earlier run");
        temp.close();
        QVERIFY(QFile::setPermissions(dir.catalogue(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        dir.freeSomePages();
        Helpers h;
        ino_t inode = 0;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            QVERIFY(dm.Connected());
            inode = inodeOf(dir.catalogue());
        }
        QVERIFY(!QFileInfo::exists(dir.compactCopy()));
        QVERIFY(inodeOf(dir.catalogue()) != inode);
        QCOMPARE(QFileInfo(dir.catalogue()).permissions() & 0x7777,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadUser | QFile::WriteUser);
        QVERIFY(h.presenter.calls.isEmpty());
    }

    // A catalogue whose lock another program holds is neither opened nor compacted; the
    // message names the holder.
    void catalogueInUseIsLeftAlone()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        const QByteArray content = fileBytes(dir.catalogue());
        Helpers h;
        {
            const CatalogueLock other(dir.catalogue());
            QCOMPARE(other.state(), CatalogueLock::State::Held);
            TdmQL dm(dir.path(), h.comm, h.business);
            QVERIFY(!dm.Connected());
        }
        QCOMPARE(fileBytes(dir.catalogue()), content);
        QCOMPARE(h.presenter.calls.size(), 1);
        QVERIFY(h.presenter.calls[0].message.startsWith(u"光盘索引库正在被另一个程序使用："_s));
        QVERIFY(h.presenter.calls[0].message.size() > u"光盘索引库正在被另一个程序使用："_s.size());
        // Once the other program has ended, the catalogue opens again.
        TdmQL dm(dir.path(), h.comm, h.business);
        QVERIFY(dm.Connected());
    }

    void failedStepLeavesCatalogue_data()
    {
        QTest::addColumn<TdmQL::CompactStep>("step");
        QTest::newRow("copy (folder not writable)") << TdmQL::CompactStep::Copy;
        QTest::newRow("flush") << TdmQL::CompactStep::Flush;
        QTest::newRow("replace") << TdmQL::CompactStep::Replace;
    }

    void failedStepLeavesCatalogue()
    {
        QFETCH(TdmQL::CompactStep, step);
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        Helpers h;
        QByteArray content;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            addAndDropRows(dm, h.comm, 500);
            content = fileBytes(dir.catalogue());
            dm.setCompactFaultHook([step](TdmQL::CompactStep at) {
                if (at == step)
                    throw DbError(u"attempt to write a readonly database"_s);
            });
        }
        QCOMPARE(fileBytes(dir.catalogue()), content);
        QVERIFY(!QFileInfo::exists(dir.compactCopy()));
        QVERIFY(h.presenter.calls.isEmpty());
        QCOMPARE(countFiles(dir.catalogue()), 10);
    }

    void killedDuringCompactionLeavesReadableCatalogue_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("before copy") << u"copy"_s;
        QTest::newRow("before flush") << u"flush"_s;
        QTest::newRow("before replace") << u"replace"_s;
    }

    void killedDuringCompactionLeavesReadableCatalogue()
    {
        QFETCH(QString, mode);
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        Helpers h;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            addAndDropRows(dm, h.comm, 200);
        }
        dir.freeSomePages();
        QProcess child;
        child.start(QStringLiteral(COMPACT_CHILD), {dir.path(), mode});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(countFiles(dir.catalogue()), 10);
        TdmQL dm(dir.path(), h.comm, h.business);
        QVERIFY(dm.Connected());
    }

    void killedAtAnyMomentLeavesReadableCatalogue()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        Helpers h;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            addAndDropRows(dm, h.comm, 3000);
        }
        for (int delay : {5, 17, 31, 53, 97}) {
            QFile::remove(dir.compactCopy());
            QProcess child;
            child.start(QStringLiteral(COMPACT_CHILD), {dir.path(), u"loop"_s});
            QVERIFY(child.waitForReadyRead(30000));
            QTest::qWait(delay);
            child.kill();
            QVERIFY(child.waitForFinished(30000));
            QCOMPARE(countFiles(dir.catalogue()), 10);
        }
        TdmQL dm(dir.path(), h.comm, h.business);
        QVERIFY(dm.Connected());
        QVERIFY(h.presenter.calls.isEmpty());
    }

    void mkdbWritesCataloguesAndNeverOverwrites()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::None);
        const QString mkdb = QStringLiteral(QUILLON_MKDB);
        QCOMPARE(QProcess::execute(mkdb, {dir.catalogue()}), 0);
        const QByteArray written = fileBytes(dir.catalogue());
        QCOMPARE(QProcess::execute(mkdb, {dir.catalogue()}), 1);
        QCOMPARE(QProcess::execute(mkdb, {u"--if-missing"_s, dir.catalogue()}), 0);
        QCOMPARE(QProcess::execute(mkdb, {u"--empty"_s, dir.catalogue()}), 1);
        QCOMPARE(fileBytes(dir.catalogue()), written);
        QCOMPARE(QProcess::execute(mkdb, {}), 2);

        Helpers h;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            QVERIFY(dm.Connected());
            QCOMPARE(h.comm.OpenSql(*dm.aqryExtMt, u"select extCode, extName from extMt"_s), 5);
            QVERIFY(dm.aqryExtMt->Locate(u"extName"_s, u"音乐"_s));
            QCOMPARE(h.comm.OpenSql(*dm.aqryExtDt, u"select extCode, extDetailInfo  from extDt  Where extCode = ?"_s,
                                    {dm.aqryExtMt->FieldByName(u"extCode"_s).AsInteger()}),
                     5);
        }
        TestProgramDir empty(TestProgramDir::Catalogue::None);
        QCOMPARE(QProcess::execute(mkdb, {u"--empty"_s, empty.catalogue()}), 0);
        TdmQL dm(empty.path(), h.comm, h.business);
        QVERIFY(dm.Connected());
        QCOMPARE(h.comm.OpenSql(*dm.aqryExtMt, u"select extCode, extName from extMt"_s), 0);
        QVERIFY(h.presenter.calls.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
