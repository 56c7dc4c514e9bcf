// Finding Chinese names by pinyin: full spelling, initials, full-width forms, folders; the
// index and the plain scan agree; a catalogue written before the readings existed gets them.
#include "CatalogueFixture.h"
#include "RecordingErrorPresenter.h"
#include "TestProgramDir.h"
#include "store/Catalogue.h"
#include "store/LCommBusiness.h"
#include "store/PinyinReading.h"
#include "store/SearchIndex.h"
#include "store/SearchNarrowing.h"
#include "store/SearchStatement.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct File {
    QString name;
    QString path;
};
const QList<File> kFiles{
    {u"周杰伦 - 七里香.mp3"_s, u"\\音乐\\周杰伦\\"_s},
    {u"周杰伦 Live.mp3"_s, u"\\音乐\\周杰伦\\"_s},
    {u"七里香（伴奏）.wav"_s, u"\\伴奏\\"_s},
    {u"ＭＰ３合集.txt"_s, u"\\"_s},
    {u"zjl notes.txt"_s, u"\\文档\\"_s},
    {u"银行流水.xls"_s, u"\\"_s},
    {u"Hello World.doc"_s, u"\\新建文件夹\\"_s},
};

struct Session {
    RecordingErrorPresenter presenter;
    TLCommFunction comm{&presenter};
    TLCommBusiness business{comm};
};

void writeFiles(TdmQL &dm, TLCommFunction &comm)
{
    CatalogueFixture fixture(dm, comm);
    const int disc = fixture.addDisc(u"光盘"_s);
    for (const File &file : kFiles)
        QVERIFY(fixture.addFile(disc, file.name, u"1"_s, u"2024-05-01 12:30:00"_s, file.path));
}

void buildIndex(const QString &connectionName, int batchRows = 3)
{
    for (auto state = SearchIndex::progress(connectionName); state->tail() > 0 || state->readingsWorn();
         state = SearchIndex::progress(connectionName))
        SearchIndex::buildBatch(connectionName, batchRows);
}

void execute(const QString &connectionName, const QString &statement)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
}

// The names found, in the order listed; the narrowed search and the scan must agree.
QStringList found(TdmQL &dm, const QString &text, const QStringList &columns, bool pinyin)
{
    QList<FileSearchRequest::Column> conditions;
    for (const QString &field : FileSearchRequest::fieldNames())
        if (columns.contains(field))
            conditions.append(*FileSearchRequest::columnNamed(field));
    const FileSearchRequest request = FileSearchRequest::forText(text, conditions, pinyin);
    QStringList results[2];
    for (const auto use : {SearchStatement::IndexUse::WhereBuilt, SearchStatement::IndexUse::Never}) {
        TQuery &query = *dm.aqryQuery;
        const QStringList base = query.SQL();
        dm.catalogue().openSearch(query, request, use);
        for (query.First(); !query.Eof(); query.Next())
            results[int(use)].append(query.FieldByName(u"FileName"_s).AsString());
        query.Close();
        query.SQL() = base;
        query.Params().clear();
    }
    if (results[0] != results[1])
        qWarning() << text << "narrowed" << results[0] << "scanned" << results[1];
    return results[0] == results[1] ? results[0] : QStringList{u"index and scan disagree"_s};
}

} // namespace

class TestPinyin : public QObject {
    Q_OBJECT

private slots:
    // Runs of Chinese characters and full-width forms are spelled; blanks inside a run go,
    // anything else ends it. Polyphonic characters read one way whatever the word.
    void readings()
    {
        const QString sep(QChar(1));
        using P = PinyinReading::Part;
        QCOMPARE(PinyinReading::spell(u"周杰伦 - 七里香.mp3"_s, P::Full), u"ZHOUJIELUN"_s + sep + u"QILIXIANG"_s);
        QCOMPARE(PinyinReading::spell(u"周杰伦 - 七里香.mp3"_s, P::Initials), u"ZJL"_s + sep + u"QLX"_s);
        QCOMPARE(PinyinReading::spell(u"ＭＰ３ 歌曲"_s, P::Initials), u"MP3GQ"_s);
        QCOMPARE(PinyinReading::spell(u"银行 长城 音乐 重庆"_s, P::Full), u"YINXINGZHANGCHENGYINLEZHONGQING"_s);
        QCOMPARE(PinyinReading::spell(u"Hello World.mp3"_s, P::Full), QString());
        QVERIFY(PinyinReading::indexedText(u"Hello é"_s).isEmpty());
        QCOMPARE(SearchCondition::readingPattern(u" zhou jie*lun "_s), u"%ZHOUJIE%LUN%"_s);
        QVERIFY(SearchCondition::readingPattern(u"周 zjl"_s).isEmpty());
    }

    void searches_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<bool>("pinyin");
        QTest::addColumn<QStringList>("expected");
        const QStringList name{u"FileName"_s};
        const QStringList path{u"FilePath"_s};
        const QString song = u"周杰伦 - 七里香.mp3"_s, live = u"周杰伦 Live.mp3"_s, backing = u"七里香（伴奏）.wav"_s;
        QTest::newRow("initials") << u"zjl"_s << name << true << QStringList{song, live, u"zjl notes.txt"_s};
        QTest::newRow("off: as before") << u"zjl"_s << name << false << QStringList{u"zjl notes.txt"_s};
        QTest::newRow("full, blanks") << u"Zhou Jie Lun"_s << name << true << QStringList{song, live};
        QTest::newRow("part of a name") << u"jielun"_s << name << true << QStringList{song, live};
        QTest::newRow("two letters") << u"zj"_s << name << true << QStringList{song, live, u"zjl notes.txt"_s};
        QTest::newRow("one letter") << u"Q"_s << name << true << QStringList{song, backing};
        QTest::newRow("wildcard") << u"qlx*bz"_s << name << true << QStringList{backing};
        QTest::newRow("full-width") << u"mp3"_s << name << true << QStringList{song, live, u"ＭＰ３合集.txt"_s};
        QTest::newRow("full-width off") << u"mp3"_s << name << false << QStringList{song, live};
        QTest::newRow("polyphonic as read") << u"yinxing"_s << name << true << QStringList{u"银行流水.xls"_s};
        QTest::newRow("polyphonic other") << u"yinhang"_s << name << true << QStringList{};
        QTest::newRow("full and initials mixed") << u"zhoujl"_s << name << true << QStringList{};
        QTest::newRow("no such initials") << u"zjx"_s << name << true << QStringList{};
        QTest::newRow("across a run") << u"lunlive"_s << name << true << QStringList{};
        QTest::newRow("latin as before") << u"hello world"_s << name << true << QStringList{u"Hello World.doc"_s};
        QTest::newRow("chinese as before") << u"七里"_s << name << true << QStringList{song, backing};
        QTest::newRow("folders") << u"yinle"_s << path << true << QStringList{song, live};
        QTest::newRow("folders off") << u"xjwjj"_s << path << false << QStringList{};
        QTest::newRow("folders by initials") << u"xjwjj"_s << path << true << QStringList{u"Hello World.doc"_s};
        QTest::newRow("both, listed once") << u"zjl"_s << QStringList{u"FileName"_s, u"FilePath"_s} << true
                                           << QStringList{song, live, u"zjl notes.txt"_s};
        QTest::newRow("with size") << u"bz"_s << QStringList{u"FileName"_s, u"FileSize"_s} << true
                                   << QStringList{backing};
    }

    void searches()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, columns);
        QFETCH(bool, pinyin);
        QFETCH(QStringList, expected);
        TestProgramDir dir;
        Session s;
        TdmQL dm(dir.path(), s.comm, s.business);
        writeFiles(dm, s.comm);
        // Before the readings are built the rows are read as they are; after, through the index.
        QCOMPARE(found(dm, text, columns, pinyin), expected);
        buildIndex(dm.aConQl.connectionName());
        QCOMPARE(found(dm, text, columns, pinyin), expected);
    }

    // A catalogue of the version before the readings gets them through the schema step and
    // the builder; worn reading tables (many deleted rows behind) are emptied and built anew.
    void olderCatalogueGetsReadings()
    {
        TestProgramDir dir;
        Session s;
        {
            TdmQL dm(dir.path(), s.comm, s.business);
            writeFiles(dm, s.comm);
            const QString connection = dm.aConQl.connectionName();
            for (const QString &trigger : {u"SearchReadingAdd"_s, u"SearchReadingRemove"_s, u"SearchReadingChange"_s})
                execute(connection, u"drop trigger "_s + trigger);
            for (const QString &table : {u"SearchNameReading"_s, u"SearchPathReading"_s, u"SearchReadingState"_s})
                execute(connection, u"drop table "_s + table);
            execute(connection, u"drop trigger FileChecksumRemove"_s);
            execute(connection, u"drop table FileChecksum"_s);
            execute(connection, u"drop trigger ArchiveMember_Gone"_s);
            execute(connection, u"drop table ArchiveMember"_s);
            execute(connection, u"pragma user_version = 2"_s);
            QVERIFY(!SearchIndex::progress(connection));
        }
        TdmQL dm(dir.path(), s.comm, s.business);
        const QString connection = dm.aConQl.connectionName();
        QCOMPARE(SearchIndex::progress(connection)->readUpTo, 0);
        buildIndex(connection);
        QCOMPARE(SearchIndex::progress(connection)->readUpTo, kFiles.size());
        QVERIFY(SearchNarrowing::clause(connection, {{FileSearchRequest::Column::FileName}, u"%ZJL%"_s, u"%ZJL%"_s}));
        QCOMPARE(found(dm, u"zjl"_s, {u"FileName"_s}, true).size(), 3);

        execute(connection, u"update SearchReadingState set stale = 1000000"_s);
        QVERIFY(SearchIndex::progress(connection)->readingsWorn());
        SearchIndex::buildBatch(connection, 100);
        QCOMPARE(SearchIndex::progress(connection)->readUpTo, 0);
        QCOMPARE(found(dm, u"zjl"_s, {u"FileName"_s}, true).size(), 3);
        buildIndex(connection);
        QCOMPARE(SearchIndex::progress(connection)->staleReadings, 0);
        QCOMPARE(found(dm, u"qilixiang"_s, {u"FileName"_s}, true).size(), 2);
    }

    // A large disc deleted from a small catalogue: its readings left behind pass a quarter
    // of the rows that are left, and the reading tables are built anew.
    void readingsOfADeletedDiscAreRebuilt()
    {
        TestProgramDir dir;
        Session s;
        TdmQL dm(dir.path(), s.comm, s.business);
        const QString connection = dm.aConQl.connectionName();
        CatalogueFixture fixture(dm, s.comm);
        const int big = fixture.addDisc(u"大盘"_s);
        execute(connection, u"insert into CdRomListDt (DiskCode, FileName, FilePath) with recursive n(i) as "
                            "(select 1 union all select i + 1 from n where i < 3000) "
                            "select %1, '七里香' || i || '.mp3', '\\音乐\\' from n"_s.arg(big));
        writeFiles(dm, s.comm);
        buildIndex(connection, 500);
        QVERIFY(s.comm.ExecSql(*dm.aqryTempFind, u"delete from CdRomListMt where DiskName = ?"_s, {u"大盘"_s}));
        QCOMPARE(SearchIndex::progress(connection)->staleReadings, 3000);
        QVERIFY(SearchIndex::progress(connection)->readingsWorn());
        buildIndex(connection, 500);
        QCOMPARE(SearchIndex::progress(connection)->staleReadings, 0);
        QCOMPARE(SearchIndex::progress(connection)->readUpTo, SearchIndex::progress(connection)->lastRow);
        QCOMPARE(found(dm, u"qilixiang"_s, {u"FileName"_s}, true).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestPinyin)
#include "tst_pinyin.moc"
