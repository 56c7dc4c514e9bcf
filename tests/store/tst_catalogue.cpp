// Connecting to the catalogue file, and compacting it when the program ends.
#include "RecordingErrorPresenter.h"
#include "TestProgramDir.h"
#include "store/CatalogueLock.h"
#include "store/CompactionFolder.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "store/Schema.h"

#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

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

// The first column of the statement's rows in a catalogue, read without the program.
QStringList readColumn(const QString &catalogue, const QString &statement)
{
    const QString name = u"count-check"_s;
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(catalogue);
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(statement))
                while (q.next())
                    values.append(q.value(0).toString());
        }
    }
    QSqlDatabase::removeDatabase(name);
    return values;
}

// Runs statements on a catalogue without the program, as the sqlite3 command would.
void rawSql(const QString &catalogue, const QStringList &statements)
{
    const QString name = u"raw-sql"_s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(catalogue);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &statement : statements)
            QVERIFY2(q.exec(statement), qPrintable(statement + u": "_s + q.lastError().text()));
    }
    QSqlDatabase::removeDatabase(name);
}

int countFiles(const QString &catalogue)
{
    const QStringList count = readColumn(catalogue, u"select count(*) from CdRomListDt"_s);
    return count.isEmpty() ? -1 : count.first().toInt();
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
        QVERIFY(!dir.compactionLeftBehind());
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
        QVERIFY(!dir.compactionLeftBehind());
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
        QVERIFY(!dir.compactionLeftBehind());

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

    // Each compaction copies into a folder of its own: two catalogues of one folder closed
    // at the same moment keep their own discs, and neither a TempdbQL.mdb link planted at
    // the old fixed name nor a link named like a compaction folder is followed. A folder
    // left by a killed compaction of this catalogue is removed, another catalogue's is not;
    // the catalogue keeps its mode.
    void compactionsKeepToTheirOwnFolder()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        const QString other = dir.dataDir() + u"/B.mdb"_s;
        CatalogueSchema::create(other, false);
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath(u"victim.mdb"_s);
        QVERIFY(QFile::link(victim, dir.dataDir() + u"/TempdbQL.mdb"_s));
        QVERIFY(QFile::link(elsewhere.path(), dir.dataDir() + u"/.dbQL.mdb.compact-linked"_s));
        QVERIFY(QDir().mkpath(dir.dataDir() + u"/.dbQL.mdb.compact-killed"_s));
        QVERIFY(QDir().mkpath(dir.dataDir() + u"/.C.mdb.compact-killed"_s));
        QFile(dir.dataDir() + u"/.dbQL.mdb.compact-killed/TempdbQL.mdb"_s).open(QIODevice::WriteOnly);
        QFile(elsewhere.filePath(u"keep"_s)).open(QIODevice::WriteOnly);
        QVERIFY(QFile::setPermissions(dir.catalogue(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        dir.freeSomePages();
        dir.freeSomePages(other);
        Helpers h;
        const ino_t inode = inodeOf(dir.catalogue());
        {
            auto b = std::make_unique<TdmQL>(dir.path(), other, h.comm, h.business);
            TdmQL a(dir.path(), h.comm, h.business);
            QVERIFY(a.Connected() && b->Connected());
            const QString insert = u"Insert Into CdRomListMt (DiskName) values (?)"_s;
            QVERIFY(h.comm.ExecSql(*a.aqryTempFind, insert, {u"A"_s}) && h.comm.ExecSql(*b->aqryTempFind, insert, {u"B"_s}));
            a.setCompactFaultHook([&](TdmQL::CompactStep step) {
                if (step != TdmQL::CompactStep::Replace)
                    return;
                const QStringList mine = CompactionFolder::leftovers(dir.catalogue());
                QCOMPARE(mine.size(), 1);
                QCOMPARE(QFileInfo(mine.first()).permissions() & 0x7777,
                         QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser |
                             QFile::ExeUser);
                b.reset(); // B is closed and compacted while A's copy waits to replace A
            });
        }
        QVERIFY(inodeOf(dir.catalogue()) != inode);
        const QString discs = u"select DiskName from CdRomListMt"_s;
        QCOMPARE(readColumn(dir.catalogue(), discs), QStringList{u"A"_s});
        QCOMPARE(readColumn(other, discs), QStringList{u"B"_s});
        QVERIFY(!dir.compactionLeftBehind());
        QVERIFY(QFileInfo(dir.dataDir() + u"/TempdbQL.mdb"_s).isSymLink());
        QVERIFY(!QFileInfo::exists(victim));
        QVERIFY(QFileInfo::exists(elsewhere.filePath(u"keep"_s)));
        QVERIFY(QFileInfo::exists(dir.dataDir() + u"/.C.mdb.compact-killed"_s));
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

    // A lock file that is a link or a FIFO is a refusal that says why, never a run without
    // the lock nor a wait. Whoever takes the lock writes its line; a refusal names the user
    // of the process that holds it, whatever the line says.
    void lockThatCannotBeTakenIsARefusal()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        const QString lock = CatalogueLock::lockFileOf(dir.catalogue());
        Helpers h;
        QTemporaryDir elsewhere;
        QVERIFY(QFile::link(elsewhere.filePath(u"target"_s), lock));
        QVERIFY(!TdmQL(dir.path(), h.comm, h.business).Connected());
        QVERIFY(QFile::remove(lock));
        QVERIFY(::mkfifo(QFile::encodeName(lock).constData(), 0644) == 0);
        QVERIFY(!TdmQL(dir.path(), h.comm, h.business).Connected());
        QCOMPARE(h.presenter.calls.size(), 2);
        for (const auto &call : h.presenter.calls)
            QVERIFY2(call.message.startsWith(u"无法锁定光盘索引库："_s), qPrintable(call.message));
        QVERIFY(!QFileInfo::exists(elsewhere.filePath(u"target"_s)));

        QVERIFY(QFile::remove(lock));
        QFile stale(lock);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("1 someone\n");
        stale.close();
        {
            const CatalogueLock taken(dir.catalogue());
            QCOMPARE(taken.state(), CatalogueLock::State::Held);
            QVERIFY(fileBytes(lock).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + ' '));
            QCOMPARE(QFileInfo(lock).permissions() & 0x6666, QFileDevice::Permissions(0x6666));
        }
        // Another user's program holds it without writing a line (flock(1) as nobody).
        QVERIFY(QFile::setPermissions(QFileInfo(dir.path()).absolutePath(), QFileDevice::Permissions(0x7755)));
        for (const QString &folder : {dir.path(), dir.dataDir()})
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)));
        QProcess holder;
        holder.start(u"runuser"_s, {u"-u"_s, u"nobody"_s, u"--"_s, u"flock"_s, u"-n"_s, lock, u"sh"_s, u"-c"_s,
                                    u"echo held; read line"_s});
        QVERIFY(holder.waitForReadyRead(10000));
        const CatalogueLock refused(dir.catalogue());
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(refused.state(), CatalogueLock::State::InUse);
        QCOMPARE(refused.holder(), u"nobody"_s);
    }

    // A catalogue a newer program wrote is read, never written: not upgraded, not compacted,
    // every change refused, the reason said.
    void newerCatalogueIsOnlyRead()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        rawSql(dir.catalogue(), {u"PRAGMA user_version = %1"_s.arg(CatalogueSchema::CurrentVersion + 1)});
        dir.freeSomePages();
        const QByteArray content = fileBytes(dir.catalogue());
        Helpers h;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            QVERIFY(dm.Connected());
            QCOMPARE(dm.readOnlyReason().kind(), ReadOnlyReason::Kind::NewerVersion);
            QVERIFY(dm.readOnlyReason().text().contains(u"较新版本"_s));
            QCOMPARE(h.comm.OpenSql(*dm.aqryExtMt, u"select extName from extMt"_s), 5);
            QVERIFY(!h.comm.ExecSql(*dm.aqryTempFind, u"Insert Into CdRomListMt (DiskName) values ('x')"_s));
            QVERIFY(!h.comm.ExecSql(*dm.aqryTempFind, u"Delete From extMt"_s));
        }
        QCOMPARE(fileBytes(dir.catalogue()), content);
        QVERIFY(h.presenter.calls.isEmpty());
    }

    // The search index and pinyin tables of a catalogue of this version come back, empty,
    // where a table or trigger of theirs was dropped; the watermarks start again at 0.
    void droppedDerivedTablesComeBack()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        rawSql(dir.catalogue(), {u"UPDATE SearchIndexState SET watermark = 5"_s, u"DROP TABLE SearchName"_s,
                                 u"UPDATE SearchReadingState SET watermark = 5"_s,
                                 u"DROP TRIGGER SearchReadingChange"_s});
        const QString objects = u"select name from sqlite_schema where type in ('table', 'trigger') order by name"_s;
        Helpers h;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            QVERIFY(dm.Connected());
        }
        TestProgramDir fresh(TestProgramDir::Catalogue::WithCategories);
        QCOMPARE(readColumn(dir.catalogue(), objects), readColumn(fresh.catalogue(), objects));
        QCOMPARE(readColumn(dir.catalogue(), u"select watermark from SearchIndexState union all "
                                             "select watermark from SearchReadingState"_s),
                 (QStringList{u"0"_s, u"0"_s}));
        QVERIFY(h.presenter.calls.isEmpty());
    }

    // Triggers and views that the program did not write are refused, named, before anything
    // runs: the file stays as it was. Tables and indexes a user adds are allowed; the
    // program's functions cannot be built into the schema.
    void foreignTriggersAndViewsAreRefused_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("named");
        QTest::newRow("trigger on the discs")
            << QStringList{u"CREATE TRIGGER Planted AFTER INSERT ON CdRomListMt BEGIN "
                           "DELETE FROM CdRomListMt WHERE DiskCode <> new.DiskCode; END"_s}
            << u"Planted"_s;
        QTest::newRow("the program's trigger rewritten")
            << QStringList{u"DROP TRIGGER SearchIndexRemove"_s,
                           u"CREATE TRIGGER SearchIndexRemove AFTER DELETE ON CdRomListDt BEGIN "
                           "DELETE FROM CdRomListMt; END"_s}
            << u"SearchIndexRemove"_s;
        QTest::newRow("recursive view")
            << QStringList{u"CREATE VIEW Forever AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                           "SELECT i + 1 FROM n) SELECT i FROM n"_s}
            << u"Forever"_s;
        QTest::newRow("view in a table's place")
            << QStringList{u"DROP TABLE extDt"_s, u"CREATE VIEW extDt AS SELECT 1 AS extCode, '' AS extDetailInfo"_s}
            << u"extDt 不是表"_s;
        QTest::newRow("user's table and index")
            << QStringList{u"CREATE TABLE Notes (x)"_s, u"CREATE INDEX NotesX ON Notes (x)"_s} << QString();
    }

    void foreignTriggersAndViewsAreRefused()
    {
        QFETCH(QStringList, statements);
        QFETCH(QString, named);
        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        rawSql(dir.catalogue(), statements);
        const QByteArray content = fileBytes(dir.catalogue());
        Helpers h;
        {
            TdmQL dm(dir.path(), h.comm, h.business);
            QCOMPARE(dm.Connected(), named.isEmpty());
            if (dm.Connected()) {
                QVERIFY(!h.comm.ExecSql(*dm.aqryTempFind, u"CREATE INDEX NotesUpper ON Notes (UCase(x))"_s));
                QVERIFY(h.comm.ExecSql(*dm.aqryTempFind, u"CREATE INDEX NotesLower ON Notes (lower(x))"_s));
            }
        }
        if (named.isEmpty())
            return;
        QCOMPARE(fileBytes(dir.catalogue()), content);
        QCOMPARE(h.presenter.calls.size(), 1);
        QVERIFY2(h.presenter.calls.first().details.contains(named), qPrintable(h.presenter.calls.first().details));
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
        QVERIFY(!dir.compactionLeftBehind());
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
