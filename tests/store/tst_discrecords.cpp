// What the catalogue keeps about each disc beyond its files: the import record, the
// details, the lendings; renaming; the tree's filter; the schema step on older catalogues.
#include "TestSession.h"
#include "store/DiscChange.h"
#include "store/DiscDetails.h"
#include "store/DiscFilter.h"
#include "store/DiscLending.h"
#include "store/ImportRecord.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

qint64 rowsOf(const QString &connection, const QString &table)
{
    QSqlQuery query = runStatement(connection, u"select count(*) from "_s + table);
    return query.next() ? query.value(0).toLongLong() : -1;
}

DiscChange lendTo(const QString &person, const QString &on)
{
    DiscChange change;
    change.lendTo = person;
    change.lentOn = on;
    return change;
}

// A catalogue opened, closed and opened again.
struct Reopening {
    TestProgramDir dir;
    RecordingErrorPresenter presenter;
    TLCommFunction comm{&presenter};
    TLCommBusiness business{comm};
    std::unique_ptr<TdmQL> open() { return std::make_unique<TdmQL>(dir.path(), comm, business); }
};

} // namespace

class TestDiscRecords : public QObject {
    Q_OBJECT

private slots:
    void propertiesOutliveARestartAndGoWithTheDisc()
    {
        Reopening r;
        int code = 0;
        {
            const auto opened = r.open();
            TdmQL &dm = *opened;
            code = CatalogueFixture(dm, r.comm).addDisc(u"照片"_s);
            const QString connection = dm.aConQl.connectionName();
            ImportRecord record;
            record.importedAt = u"2024-05-01 12:00:00"_s;
            record.category = u"图片"_s;
            record.masks = {u"*.jpg"_s, u"*.png"_s};
            record.source = ImportRecord::Source::Folder;
            record.path = u"/home/u/照片"_s;
            record.options.insert(u"fileTime"_s, u"modified"_s);
            record.options.insert(u"later"_s, 3); // a key a later import option adds
            ImportRecordStore::write(connection, code, record);
            DiscChange change = lendTo(u"张三"_s, u"2024-06-01"_s);
            change.location = u" 书房 柜2 第3格 "_s;
            change.note = u"第一行\n第二行"_s;
            change.keywords = u"家庭,旅行，2019  海边"_s;
            QCOMPARE(DiscChangeStore::apply(connection, code, change), DiscDetailsStore::Rename::Done);
        }
        const auto opened = r.open();
        TdmQL &dm = *opened;
        const QString connection = dm.aConQl.connectionName();
        const DiscDetails details = DiscDetailsStore::read(connection, code);
        QCOMPARE(details.location, u"书房 柜2 第3格"_s);
        QCOMPARE(details.note, u"第一行\n第二行"_s);
        QCOMPARE(details.keywords, u"家庭 旅行 2019 海边"_s);
        const std::optional<ImportRecord> record = ImportRecordStore::read(connection, code);
        QVERIFY(record);
        QCOMPARE(record->masks, (QStringList{u"*.jpg"_s, u"*.png"_s}));
        QCOMPARE(record->source, ImportRecord::Source::Folder);
        QCOMPARE(record->options.value(u"fileTime"_s).toString(), u"modified"_s);
        QCOMPARE(record->options.value(u"later"_s).toInt(), 3);
        QCOMPARE(DiscLendingStore::current(connection, code)->borrower, u"张三"_s);

        // A disc imported before the records existed has none.
        const int older = CatalogueFixture(dm, r.comm).addDisc(u"旧光盘"_s);
        QVERIFY(!ImportRecordStore::read(connection, older));

        runStatement(connection, u"delete from CdRomListMt where DiskCode = ?"_s, {code});
        for (const QString &table : {u"DiscImport"_s, u"DiscDetails"_s, u"DiscLending"_s})
            QCOMPARE(rowsOf(connection, table), 0);
    }

    void renamingRefusesATakenNameInAnyCase()
    {
        TestSession s;
        const QString connection = s.dm.aConQl.connectionName();
        const int music = s.data.addDisc(u"Music"_s);
        const int photos = s.data.addDisc(u"Photos"_s);
        QCOMPARE(DiscDetailsStore::rename(connection, photos, u"MUSIC"_s), DiscDetailsStore::Rename::NameTaken);
        QCOMPARE(DiscDetailsStore::rename(connection, photos, u"  "_s), DiscDetailsStore::Rename::Empty);
        // A refused name writes nothing else of the change either.
        DiscChange change;
        change.name = u"music"_s;
        change.location = u"somewhere"_s;
        QCOMPARE(DiscChangeStore::apply(connection, photos, change), DiscDetailsStore::Rename::NameTaken);
        QCOMPARE(DiscDetailsStore::read(connection, photos).location, QString());
        QCOMPARE(DiscDetailsStore::overview(connection, photos)->name, u"Photos"_s);
        // The disc's own name in other letters is a correction, not a clash.
        QCOMPARE(DiscDetailsStore::rename(connection, music, u"MUSIC"_s), DiscDetailsStore::Rename::Done);
        QCOMPARE(DiscDetailsStore::rename(connection, photos, u"Alben"_s), DiscDetailsStore::Rename::Done);
        QStringList names;
        for (const DiscOverview &disc : DiscDetailsStore::overviews(connection))
            names.append(disc.name);
        QCOMPARE(names, (QStringList{u"Alben"_s, u"MUSIC"_s}));
    }

    void lendingReturningAndHistory()
    {
        TestSession s;
        const QString connection = s.dm.aConQl.connectionName();
        const int a = s.data.addDisc(u"A"_s);
        const int b = s.data.addDisc(u"B"_s);
        DiscChangeStore::apply(connection, a, lendTo(u"王"_s, u"2024-01-10"_s));
        DiscChangeStore::apply(connection, b, lendTo(u"李"_s, u"2023-05-01"_s));
        QList<LentDisc> lent = DiscLendingStore::lentDiscs(connection);
        QCOMPARE(lent.size(), 2);
        QCOMPARE(lent.at(0).name, u"B"_s); // the oldest lending first
        QCOMPARE(lent.at(1).borrower, u"王"_s);

        // Lent to someone else: the first lending ends, both stay in the history.
        DiscChangeStore::apply(connection, a, lendTo(u"赵"_s, u"2024-02-01"_s));
        QList<Lending> history = DiscLendingStore::history(connection, a);
        QCOMPARE(history.size(), 2);
        QCOMPARE(history.at(0).borrower, u"赵"_s);
        QVERIFY(history.at(0).returnedOn.isEmpty());
        QCOMPARE(history.at(1).returnedOn, u"2024-02-01"_s);

        DiscChange back;
        back.giveBack = true;
        DiscChangeStore::apply(connection, a, back);
        QVERIFY(!DiscLendingStore::current(connection, a));
        QVERIFY(!DiscLendingStore::giveBack(connection, a, u"2024-03-01"_s));
        QCOMPARE(DiscLendingStore::history(connection, a).size(), 2);
        lent = DiscLendingStore::lentDiscs(connection);
        QCOMPARE(lent.size(), 1);
        QCOMPARE(lent.at(0).code, b);
    }

    void filterFindsEachFieldAndPinyin()
    {
        DiscOverview jay{1, u"周杰伦 - 范特西"_s, u"FANTASY"_s, u"3A1F22C0"_s,
                         {u"书房 柜2 第3格"_s, u"Signed copy"_s, u"pop 经典"_s}, {}, {}};
        DiscOverview photos{2, u"Photos 2019"_s, u"PHOTO"_s, u"00000000"_s, {u"客厅"_s, {}, {}}, {}, {}};
        DiscFilter filter;
        filter.setDiscs({jay, photos});
        const QList<qint32> both{1, 2};
        const QList<qint32> first{1};
        QCOMPARE(filter.matching(QString()), both);
        for (const QString &text : {u"范特"_s, u"fanTASY"_s, u"柜2"_s, u"SIGNED"_s, u"POP"_s, u"sf"_s, u"zjl"_s,
                                    u"jing dian"_s, u"shufang"_s})
            QVERIFY2(filter.matching(text) == first, qPrintable(text));
        QCOMPARE(filter.matching(u"kt"_s), QList<qint32>{2});
        // Typing on narrows what the shorter text found; a shorter text looks at every disc.
        QCOMPARE(filter.matching(u"p"_s), both);
        QCOMPARE(filter.matching(u"ph"_s), QList<qint32>{2});
        QCOMPARE(filter.matching(u"p"_s), both);
        // No match across two fields, nor for a text that is nowhere.
        QVERIFY(filter.matching(u"范特西FANTASY"_s).isEmpty());
        QVERIFY(filter.matching(u"xyz"_s).isEmpty());

        photos.details.location = u"书房"_s;
        filter.update(photos);
        QCOMPARE(filter.matching(u"sf"_s), both);
        filter.remove(1);
        QCOMPARE(filter.matching(u"sf"_s), QList<qint32>{2});
    }

    // A catalogue of the version before gets the tables when it is opened, keeps what it had,
    // and the sqlite3 command reads the new tables. A dropped one comes back alone.
    void olderCatalogueIsUpgradedOnOpen()
    {
        Reopening r;
        int code = 0;
        {
            const auto opened = r.open();
            TdmQL &dm = *opened;
            code = CatalogueFixture(dm, r.comm).addDisc(u"旧光盘"_s);
            const QString connection = dm.aConQl.connectionName();
            for (const QString &table : {u"DiscImport"_s, u"DiscDetails"_s, u"DiscLending"_s})
                runStatement(connection, u"DROP TABLE "_s + table);
            runStatement(connection, u"PRAGMA user_version = 3"_s);
        }
        {
            const auto opened = r.open();
            TdmQL &dm = *opened;
            const QString connection = dm.aConQl.connectionName();
            QCOMPARE(CatalogueSchema::version(connection), CatalogueSchema::CurrentVersion);
            DiscChange change = lendTo(u"张三"_s, u"2024-06-01"_s);
            change.location = u"书房"_s;
            DiscChangeStore::apply(connection, code, change);
            runStatement(connection, u"DROP TABLE DiscLending"_s);
        }
        {
            const auto opened = r.open();
            TdmQL &dm = *opened;
            const QString connection = dm.aConQl.connectionName();
            QCOMPARE(DiscDetailsStore::read(connection, code).location, u"书房"_s);
            QCOMPARE(rowsOf(connection, u"DiscLending"_s), 0);
        }
        QVERIFY(r.presenter.calls.isEmpty());
        QProcess sqlite;
        sqlite.start(u"sqlite3"_s, {r.dir.catalogue(), u"select d.Location from DiscDetails d join CdRomListMt m "
                                                     "using (DiskCode)"_s});
        QVERIFY(sqlite.waitForFinished());
        QCOMPARE(QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed(), u"书房"_s);
    }
};

QTEST_GUILESS_MAIN(TestDiscRecords)
#include "tst_discrecords.moc"
