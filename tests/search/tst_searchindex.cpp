// The search index: searches of names and folders narrowed by it find exactly what the
// plain scan finds; the index follows every write and delete, fills in resumable batches on
// a catalogue written before it existed, and stays right through compaction.
#include "CatalogueFixture.h"
#include "RecordingErrorPresenter.h"
#include "RecordingProgress.h"
#include "TestProgramDir.h"
#include "search/SearchIndexBuilder.h"
#include "store/Catalogue.h"
#include "store/LCommBusiness.h"
#include "store/Schema.h"
#include "store/SearchIndex.h"
#include "store/SearchNarrowing.h"
#include "store/SearchStatement.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList kColumns{u"FileName"_s, u"FileSize"_s, u"FileData"_s, u"FilePath"_s};
// Letters of both cases, Chinese, and every character the pattern treats specially.
const QString kAlphabet = u"abcABCxyzXYZ019音乐歌曲电影文档é É.-_%\\'*\""_s;
const QStringList kWords{u"音乐"_s, u"歌曲"_s, u"Mp3"_s,  u"mp3"_s,  u"Live"_s, u"电影"_s,
                         u"100%"_s, u"a_b"_s,  u"C:\\"_s, u"it's"_s, u"É音"_s,  u"文档"_s};

struct Session {
    RecordingErrorPresenter presenter;
    TLCommFunction comm{&presenter};
    TLCommBusiness business{comm};
};

QString randomText(QRandomGenerator &random, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += random.bounded(3) == 0 ? kWords.at(random.bounded(kWords.size()))
                                       : QString(kAlphabet.at(random.bounded(kAlphabet.size())));
    return text;
}

void addRandomDisc(TdmQL &dm, TLCommFunction &comm, QRandomGenerator &random, const QString &name, int files)
{
    CatalogueFixture fixture(dm, comm);
    const int disc = fixture.addDisc(name);
    dm.aConQl.BeginTrans();
    for (int i = 0; i < files; ++i)
        QVERIFY(fixture.addFile(disc, randomText(random, 1 + random.bounded(8)), QString::number(random.bounded(5000)),
                                u"2024-05-01 12:30:00"_s, u"\\"_s + randomText(random, random.bounded(6)) + u"\\"_s));
    dm.aConQl.CommitTrans();
}

// A pattern of one to six characters, often a piece of a stored value with its letters'
// case changed or a character replaced by the wildcard.
QString randomPattern(QRandomGenerator &random, const QStringList &values)
{
    QString text;
    const int length = 1 + random.bounded(6);
    if (random.bounded(4) != 0) {
        const QString value = values.at(random.bounded(values.size()));
        const int start = random.bounded(std::max<qsizetype>(value.size(), 1));
        text = value.mid(start, length);
    }
    while (text.size() < length)
        text += kAlphabet.at(random.bounded(kAlphabet.size()));
    for (QChar &c : text) {
        if (random.bounded(3) == 0)
            c = c.isUpper() ? c.toLower() : c.toUpper();
        if (random.bounded(8) == 0)
            c = u'*';
    }
    return text;
}

// The searched columns of those list items, each once, in the list's order.
QList<FileSearchRequest::Column> conditionsFor(const QList<int> &items)
{
    QList<FileSearchRequest::Column> columns;
    for (int column = 0; column < kColumns.size(); ++column)
        if (items.contains(column))
            columns.append(FileSearchRequest::Column(column));
    return columns;
}

using Columns = QList<FileSearchRequest::Column>;

// Every hit of a search: disc, name, size, date and folder, in the order listed.
QStringList hits(TdmQL &dm, const Columns &conditions, const QString &text, SearchStatement::IndexUse use, bool pinyin)
{
    TQuery &query = *dm.aqryQuery;
    const QStringList base = query.SQL();
    dm.catalogue().openSearch(query, FileSearchRequest::forText(text, conditions, pinyin), use);
    QStringList rows;
    for (query.First(); !query.Eof(); query.Next())
        rows.append(
            QStringList{query.FieldByName(u"DiskCode"_s).AsString(), query.FieldByName(u"FileName"_s).AsString(),
                        query.FieldByName(u"FileSize"_s).AsString(), query.FieldByName(u"FileData"_s).AsString(),
                        query.FieldByName(u"FilePath"_s).AsString()}
                .join(u'|'));
    query.Close();
    query.SQL() = base;
    query.Params().clear();
    return rows;
}

QStringList storedValues(TdmQL &dm, const QString &column)
{
    QSqlQuery query(QSqlDatabase::database(dm.aConQl.connectionName()));
    query.exec(u"select %1 from CdRomListDt"_s.arg(column));
    QStringList values;
    while (query.next())
        if (!query.value(0).isNull())
            values.append(query.value(0).toString());
    return values;
}

// A piece of a stored value's pinyin, in lower case, now and then with a blank or a wildcard.
QString randomReadingPattern(QRandomGenerator &random, const QStringList &readings)
{
    const QString reading = readings.at(random.bounded(readings.size()));
    QString text = reading.mid(random.bounded(reading.size()), 1 + random.bounded(6)).toLower();
    text.remove(QChar(1));
    if (text.size() > 1 && random.bounded(4) == 0)
        text.insert(1 + random.bounded(text.size() - 1), random.bounded(2) ? u' ' : u'*');
    return text.isEmpty() ? u"x"_s : text;
}

// Compares indexed and plain searches for count patterns; returns how many the index narrowed.
int compareWithScan(TdmQL &dm, QRandomGenerator &random, int count)
{
    const QStringList values = storedValues(dm, u"FileName"_s) + storedValues(dm, u"FilePath"_s);
    QStringList readings;
    for (const QString &column : {u"FileName"_s, u"FilePath"_s})
        for (int part = 0; part < 2; ++part)
            readings += storedValues(dm, u"Pinyin(%1, %2)"_s.arg(column).arg(part));
    int narrowed = 0;
    for (int i = 0; i < count; ++i) {
        // One search in four also by pinyin, mostly with a text made of it.
        const bool pinyin = random.bounded(4) == 0;
        const QString text =
            pinyin && random.bounded(4) != 0 ? randomReadingPattern(random, readings) : randomPattern(random, values);
        QList<int> columns{random.bounded(2) == 0 ? 0 : 3};
        if (random.bounded(3) == 0)
            columns.append(random.bounded(4));
        const Columns conditions = conditionsFor(columns);
        if (SearchNarrowing::clause(dm.aConQl.connectionName(), FileSearchRequest::forText(text, conditions, pinyin)))
            ++narrowed;
        const QStringList indexed = hits(dm, conditions, text, SearchStatement::IndexUse::WhereBuilt, pinyin);
        const QStringList scanned = hits(dm, conditions, text, SearchStatement::IndexUse::Never, pinyin);
        if (indexed != scanned) {
            qWarning() << "pattern" << text << "pinyin" << pinyin << "columns" << columns << indexed.size()
                       << scanned.size();
            return -1;
        }
    }
    return narrowed;
}

void buildIndex(const QString &connectionName)
{
    while (SearchIndex::progress(connectionName)->tail() > 0)
        SearchIndex::buildBatch(connectionName, 700);
}

void execute(const QString &connectionName, const QString &statement)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
}

} // namespace

class TestSearchIndex : public QObject {
    Q_OBJECT

private slots:
    // A few thousand random patterns over a catalogue written, deleted from and edited (also
    // without the program's own SQL functions, as the sqlite3 command would), with rows not
    // yet indexed above the watermark.
    void indexedSearchFindsWhatTheScanFinds()
    {
        TestProgramDir dir;
        Session s;
        TdmQL dm(dir.path(), s.comm, s.business);
        const QString connection = dm.aConQl.connectionName();
        QRandomGenerator random(21);
        for (int d = 0; d < 4; ++d)
            addRandomDisc(dm, s.comm, random, u"disc %1"_s.arg(d), 300);
        buildIndex(connection);
        QVERIFY(s.comm.ExecSql(*dm.aqryTempFind, u"delete from CdRomListMt where DiskName = ?"_s, {u"disc 1"_s}));
        // The last disc goes and a new one takes its rowids: they are below the watermark.
        QVERIFY(s.comm.ExecSql(*dm.aqryTempFind, u"delete from CdRomListMt where DiskName = ?"_s, {u"disc 3"_s}));
        addRandomDisc(dm, s.comm, random, u"again"_s, 200);
        buildIndex(connection);
        {
            QSqlDatabase plain = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"plain"_s);
            plain.setDatabaseName(dir.catalogue());
            QVERIFY(plain.open());
            execute(u"plain"_s, u"update CdRomListDt set FileName = FileName || '音乐' where rowid % 7 = 0"_s);
            execute(u"plain"_s, u"insert into CdRomListDt (DiskCode, FileName, FilePath) "
                                "select DiskCode, 'x' || FilePath, FileName from CdRomListDt where rowid % 5 = 0"_s);
            execute(u"plain"_s, u"insert into CdRomListDt (rowid, DiskCode, FileName, FilePath) "
                                "select 2 * rowid, DiskCode, FileName, FilePath from CdRomListDt where rowid % 9 = 0 "
                                "and rowid < 200 and 2 * rowid not in (select rowid from CdRomListDt)"_s);
        }
        QSqlDatabase::removeDatabase(u"plain"_s);
        QVERIFY(SearchIndex::progress(connection)->tail() > 0);
        const int narrowed = compareWithScan(dm, random, 2500);
        QVERIFY(narrowed >= 0);
        QVERIFY2(narrowed > 1500, qPrintable(QString::number(narrowed)));
    }

    // Long texts ask the index for little: repeated runs merged, few terms counted and put
    // in the AND, few short texts looked up; the hits stay those of the scan.
    void longTextsAskTheIndexLittle()
    {
        TestProgramDir dir;
        Session s;
        TdmQL dm(dir.path(), s.comm, s.business);
        const QString connection = dm.aConQl.connectionName();
        QRandomGenerator random(5);
        addRandomDisc(dm, s.comm, random, u"disc"_s, 400);
        buildIndex(connection);
        const Columns conditions = conditionsFor({0, 3});
        for (const QString &text : {u"*a"_s.repeated(1000), u"*音*乐"_s.repeated(2500),
                                    u"a*b*c*x*y*z*0*1*9*音*乐*歌*曲*电*影*文*档"_s.repeated(100),
                                    randomText(random, 3000), u"mp3"_s.repeated(3000)}) {
            const auto clause =
                SearchNarrowing::clause(connection, FileSearchRequest::forText(text, conditions, false));
            for (const QVariant &value : clause ? clause->values : QVariantList())
                QVERIFY2(value.toString().count(u" AND "_s) < 6, qPrintable(value.toString().left(200)));
            QCOMPARE(hits(dm, conditions, text, SearchStatement::IndexUse::WhereBuilt, false),
                     hits(dm, conditions, text, SearchStatement::IndexUse::Never, false));
        }
    }

    // A catalogue written before the index existed gets it through the schema step, searches
    // scan until the batches are done, and a stopped build goes on where it ended.
    void olderCatalogueIsIndexedInResumableBatches()
    {
        TestProgramDir dir;
        Session s;
        QRandomGenerator random(27);
        {
            TdmQL dm(dir.path(), s.comm, s.business);
            for (int d = 0; d < 3; ++d)
                addRandomDisc(dm, s.comm, random, u"disc %1"_s.arg(d), 400);
            SearchIndex::remove(dm.aConQl.connectionName());
            // and what later steps added, as in a catalogue of version 1
            QSqlQuery later(QSqlDatabase::database(dm.aConQl.connectionName()));
            QVERIFY(later.exec(u"drop trigger ArchiveMember_Gone"_s) && later.exec(u"drop table ArchiveMember"_s));
        }
        {
            TdmQL dm(dir.path(), s.comm, s.business);
            const QString connection = dm.aConQl.connectionName();
            QSqlQuery version(QSqlDatabase::database(connection));
            QVERIFY(version.exec(u"PRAGMA user_version"_s) && version.next());
            QCOMPARE(version.value(0).toInt(), CatalogueSchema::CurrentVersion);
            QCOMPARE(SearchIndex::progress(connection)->indexedUpTo, 0);
            QVERIFY(
                !SearchNarrowing::clause(connection, FileSearchRequest::forText(u"mp3"_s, conditionsFor({0}), false)));
            SearchIndex::buildBatch(connection, 500);
            // Rows written and deleted while the build is under way.
            addRandomDisc(dm, s.comm, random, u"late"_s, 200);
            QVERIFY(s.comm.ExecSql(*dm.aqryTempFind, u"delete from CdRomListMt where DiskName = ?"_s, {u"disc 1"_s}));
            QCOMPARE(SearchIndex::progress(connection)->indexedUpTo, 500);
        }
        TdmQL dm(dir.path(), s.comm, s.business);
        RecordingProgress progress;
        SearchIndexBuilder builder(
            dm.aConQl.connectionName(), progress, [] { return true; }, nullptr, 500);
        builder.start();
        QVERIFY(builder.running());
        while (SearchIndex::progress(dm.aConQl.connectionName())->tail() > 0)
            QVERIFY(builder.step());
        QVERIFY(builder.step());
        QVERIFY(progress.texts.contains(u"正在建立搜索索引……"_s));
        QCOMPARE(progress.texts.last(), u"搜索索引已建好"_s);
        QVERIFY(compareWithScan(dm, random, 300) > 150);
    }

    // Compaction copies the file: the rows keep their rowids, which the index names.
    void compactionKeepsTheIndexRight()
    {
        TestProgramDir dir;
        Session s;
        QRandomGenerator random(5);
        QStringList before;
        qint64 size = 0;
        {
            TdmQL dm(dir.path(), s.comm, s.business);
            addRandomDisc(dm, s.comm, random, u"first"_s, 200);
            addRandomDisc(dm, s.comm, random, u"middle"_s, 1500);
            addRandomDisc(dm, s.comm, random, u"last"_s, 200);
            buildIndex(dm.aConQl.connectionName());
            QVERIFY(s.comm.ExecSql(*dm.aqryTempFind, u"delete from CdRomListMt where DiskName = ?"_s, {u"middle"_s}));
            // Space for the compaction to give back.
            execute(dm.aConQl.connectionName(), u"create table Filler (x)"_s);
            execute(dm.aConQl.connectionName(), u"insert into Filler select randomblob(100000) from CdRomListDt "
                                                "limit 20"_s);
            execute(dm.aConQl.connectionName(), u"drop table Filler"_s);
            before = storedValues(dm, u"rowid || FileName"_s);
            size = QFileInfo(dir.catalogue()).size();
        }
        QVERIFY(!dir.compactionLeftBehind());
        QVERIFY(QFileInfo(dir.catalogue()).size() < size);
        TdmQL dm(dir.path(), s.comm, s.business);
        QCOMPARE(storedValues(dm, u"rowid || FileName"_s), before);
        QVERIFY(compareWithScan(dm, random, 300) > 150);
    }
};

QTEST_GUILESS_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
