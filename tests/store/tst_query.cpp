// Statements through the query helper, row operations of the named queries, and the
// SQL functions the statements rely on.
#include "RecordingErrorPresenter.h"
#include "TestProgramDir.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"

#include <QtTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

class TestQuery : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestProgramDir> m_dir;
    RecordingErrorPresenter m_presenter;
    std::unique_ptr<TLCommFunction> m_comm;
    std::unique_ptr<TLCommBusiness> m_business;
    std::unique_ptr<TdmQL> m_dm;

    int addDisc(const QString &name)
    {
        const bool ok = m_comm->ExecSql(*m_dm->aqryTempFind,
                                        u"Insert Into CdRomListMt (DiskName, DiskLabel, DiskSerial) values (?, ?, ?)"_s,
                                        {name, u"LABEL"_s, u"1234ABCD"_s});
        if (!ok)
            return -1;
        m_comm->OpenSql(*m_dm->aqryTempFind, u"Select DiskCode From CdRomListMt Where DiskName = ?"_s, {name});
        return int(m_dm->aqryTempFind->FieldByName(u"DiskCode"_s).AsInteger());
    }

    bool addFile(int disc, const QString &name, const QString &date = u"2024-05-01 12:30:00"_s)
    {
        return m_comm->ExecSql(
            *m_dm->aqryTempFind,
            u"Insert Into CdRomListDt (DiskCode, FileName, FileSize, FileData, FilePath) values (?, ?, ?, ?, ?)"_s,
            {disc, name, u"1024"_s, date, u"\\music\\"_s});
    }

    int fileCount() { return m_comm->OpenSql(*m_dm->aqryTempFind, u"select FileName from CdRomListDt"_s); }

private slots:
    void init()
    {
        m_dir = std::make_unique<TestProgramDir>(TestProgramDir::Catalogue::WithCategories);
        m_presenter.calls.clear();
        m_comm = std::make_unique<TLCommFunction>(&m_presenter);
        m_business = std::make_unique<TLCommBusiness>(*m_comm);
        m_dm = std::make_unique<TdmQL>(m_dir->path(), *m_comm, *m_business);
        QVERIFY(m_dm->Connected());
    }

    void cleanup()
    {
        m_dm.reset();
        m_business.reset();
        m_comm.reset();
        m_dir.reset();
    }

    void openSqlCountsRowsAndSwallowsErrors()
    {
        TQuery &q = *m_dm->aqryExtMt;
        QCOMPARE(m_comm->OpenSql(q, u"select extCode, extName from extMt"_s), 5);
        QVERIFY(q.Active());
        QCOMPARE(q.SQL(), QStringList{u"select extCode, extName from extMt"_s});

        QCOMPARE(m_comm->OpenSql(q, u"select extCode from extMt where extName = ?"_s, {u"无此类"_s}), 0);
        QVERIFY(q.Active());
        QVERIFY(q.Eof());

        QCOMPARE(m_comm->OpenSql(q, u"select nothing from nowhere"_s), -1);
        QVERIFY(!q.Active());
        QCOMPARE(m_comm->OpenSql(q, u"Insert Into extMt (extName) values ('x')"_s), -1);
        QVERIFY(!q.Active());
        QVERIFY(m_presenter.calls.isEmpty());
    }

    void execSqlReportsSuccessOnly()
    {
        QVERIFY(m_comm->ExecSql(*m_dm->aqryTempFind, u"Insert Into extMt (extName) values (?)"_s, {u"游戏"_s}));
        QVERIFY(!m_comm->ExecSql(*m_dm->aqryTempFind, u"Insert Into nowhere values (1)"_s));
        QVERIFY(!m_comm->ExecSql(*m_dm->aqryTempFind, u"this is not sql"_s));
        // A file record for a disc that does not exist breaks the relation.
        QVERIFY(!addFile(4242, u"orphan.mp3"_s));
        // A date that is not the program's date text is refused.
        const int disc = addDisc(u"碟"_s);
        QVERIFY(disc > 0);
        QVERIFY(!addFile(disc, u"bad.mp3"_s, u"2024-13-45 99:00:00"_s));
        QVERIFY(!addFile(disc, u"bad.mp3"_s, u"yesterday"_s));
        QVERIFY(addFile(disc, u"midnight.mp3"_s, u"2024-05-01"_s));
        QVERIFY(m_presenter.calls.isEmpty());
    }

    void boundValuesKeepEveryCharacter()
    {
        const QString name = u"Tom's 100% *best* `rock` 摇滚;--"_s;
        const int disc = addDisc(name);
        QVERIFY(disc > 0);
        QCOMPARE(m_comm->OpenSql(*m_dm->aqryTempFind, u"Select DiskName From CdRomListMt Where DiskName = ?"_s,
                                 {name.toUpper()}),
                 1);
        QCOMPARE(m_dm->aqryTempFind->FieldByName(u"DiskName"_s).AsString(), name);
        QCOMPARE(
            m_comm->OpenSql(*m_dm->aqryTempFind, u"Select DiskName From CdRomListMt Where DiskName = ?"_s, {u"Tom"_s}),
            0);
    }

    void searchFunctions()
    {
        const int disc = addDisc(u"A"_s);
        QVERIFY(addFile(disc, u"Song.mp3"_s));
        QVERIFY(addFile(disc, u"乐曲.MP3"_s));
        QVERIFY(addFile(disc, u"notes.txt"_s));
        TQuery &q = *m_dm->aqryQuery;
        q.SQL() << u" where "_s << u"UCase(FileName) LIKE ?"_s;
        q.Params() = {u"%.MP3"_s};
        q.Open();
        QCOMPARE(q.RecordCount(), 2);
        q.Close();
        QVERIFY(m_comm->OpenSql(q, u"select UCase('abc乐xyz') as u"_s) == 1);
        QCOMPARE(q.FieldByName(u"u"_s).AsString(), u"ABC乐XYZ"_s);
        QVERIFY(m_comm->OpenSql(q, u"select UCase(NULL) as u"_s) == 1);
        QVERIFY(q.FieldByName(u"u"_s).IsNull());
        // The persistent fields stay while the query is closed.
        q.Close();
        QCOMPARE(q.FieldDefs().size(), 5);
        QCOMPARE(q.FieldDefs().at(0).tag, -1);
        QCOMPARE(q.FieldDefs().at(3).displayLabel, u"时间"_s);
    }

    // An engine without memory left for UCase's text (it then gives no text at all): the
    // statement fails with "out of memory" and the connection goes on.
    void ucaseWithoutMemoryFails()
    {
        TQuery &q = *m_dm->aqryTempFind;
        q.SQL() = {u"select UCase(zeroblob(8000000)) as u"_s};
        QString message;
        {
            const sqlite3_int64 limit = sqlite3_hard_heap_limit64(-1);
            const auto restore = qScopeGuard([limit] { sqlite3_hard_heap_limit64(limit); });
            sqlite3_hard_heap_limit64(sqlite3_memory_used() + 1000000);
            try {
                q.Open();
            } catch (const DbError &error) {
                message = error.message();
            }
        }
        QVERIFY2(message.contains(u"out of memory"_s), qPrintable(message));
        QCOMPARE(m_comm->OpenSql(q, u"select UCase('a') as u"_s), 1);
        QCOMPARE(q.FieldByName(u"u"_s).AsString(), u"A"_s);
    }

    void discListOrderedByLocaleIgnoringCase()
    {
        for (const QString &name : {u"beta"_s, u"Alpha"_s, u"gamma"_s, u"Delta"_s})
            QVERIFY(addDisc(name) > 0);
        TQuery &q = *m_dm->aqryCdRomListMt;
        q.Open();
        QStringList names;
        for (q.First(); !q.Eof(); q.Next())
            names << q.FieldByName(u"DiskName"_s).AsString();
        QCOMPARE(names, (QStringList{u"Alpha"_s, u"beta"_s, u"Delta"_s, u"gamma"_s}));
    }

    void locateIgnoresCaseAndKeepsRowWhenMissing()
    {
        TQuery &q = *m_dm->aqryExtMt;
        q.Open();
        QVERIFY(q.Locate(u"extName"_s, u"图片"_s));
        const int row = q.RecNo();
        QCOMPARE(q.FieldByName(u"extName"_s).AsString(), u"图片"_s);
        QVERIFY(!q.Locate(u"extName"_s, u"无此类"_s));
        QCOMPARE(q.RecNo(), row);
        QCOMPARE(m_comm->OpenSql(*m_dm->aqryExtDt, u"select extCode, extDetailInfo  from extDt  Where extCode = ?"_s,
                                 {q.FieldByName(u"extCode"_s).AsInteger()}),
                 6);
        QVERIFY(m_dm->aqryExtDt->Locate(u"extDetailInfo"_s, u"*.PNG"_s));
        QCOMPARE(m_dm->aqryExtDt->FieldByName(u"extDetailInfo"_s).AsString(), u"*.png"_s);
        QVERIFY_THROWS_EXCEPTION(DbError, q.Locate(u"noSuchField"_s, 1));
    }

    void appendEditDeleteRoundTrip()
    {
        TQuery &q = *m_dm->aqryExtMt;
        q.Open();
        q.Append();
        q.FieldByName(u"extName"_s).SetValue(u"游戏"_s);
        QVERIFY(q.Post());
        const qint64 code = q.FieldByName(u"extCode"_s).AsInteger();
        QVERIFY(code > 5);

        TQuery &masks = *m_dm->aqryExtDt;
        QCOMPARE(m_comm->OpenSql(masks, u"select extCode, extDetailInfo  from extDt  Where extCode = ?"_s, {code}), 0);
        for (const QString &mask : {u"*.iso"_s, u"*.ISO"_s, u"*.nes"_s}) {
            masks.Append();
            masks.FieldByName(u"extCode"_s).SetValue(QString::number(code));
            masks.FieldByName(u"extDetailInfo"_s).SetValue(mask);
            QVERIFY(masks.Post());
        }
        // Two masks equal but for case: the first one is found and changed.
        QVERIFY(masks.Locate(u"extDetailInfo"_s, u"*.iso"_s));
        masks.Edit();
        masks.FieldByName(u"extDetailInfo"_s).SetValue(u"*.img"_s);
        QVERIFY(masks.Post());
        QVERIFY(masks.Locate(u"extDetailInfo"_s, u"*.nes"_s));
        QVERIFY(masks.Delete());

        QCOMPARE(m_comm->OpenSql(masks, u"select extCode, extDetailInfo  from extDt  Where extCode = ?"_s, {code}), 2);
        QStringList stored;
        for (masks.First(); !masks.Eof(); masks.Next())
            stored << masks.FieldByName(u"extDetailInfo"_s).AsString();
        QCOMPARE(stored, (QStringList{u"*.img"_s, u"*.ISO"_s}));

        q.Close();
        q.Open();
        QVERIFY(q.Locate(u"extCode"_s, code));
        q.Edit();
        q.FieldByName(u"extName"_s).SetValue(u"电子游戏"_s);
        QVERIFY(q.Post());
        q.Close();
        q.Open();
        QVERIFY(q.Locate(u"extName"_s, u"电子游戏"_s));
        QVERIFY(q.Delete());
        // Deleting a category takes its masks with it.
        QCOMPARE(m_comm->OpenSql(masks, u"select extCode, extDetailInfo  from extDt  Where extCode = ?"_s, {code}), 0);
        QVERIFY(m_presenter.calls.isEmpty());
    }

    void deletingDiscRemovesItsFiles()
    {
        const int keep = addDisc(u"keep"_s);
        const int drop = addDisc(u"drop"_s);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(addFile(keep, u"k%1.mp3"_s.arg(i)));
            QVERIFY(addFile(drop, u"d%1.mp3"_s.arg(i)));
        }
        TQuery &discs = *m_dm->aqryCdRomListMt;
        discs.Open();
        QVERIFY(discs.Locate(u"DiskCode"_s, drop));
        QVERIFY(discs.Delete());
        QCOMPARE(discs.RecordCount(), 1);
        QCOMPARE(fileCount(), 3);
        QCOMPARE(m_comm->OpenSql(
                     *m_dm->aqryCdRomListDt,
                     u"select DiskCode, FileData, FileName, FilePath, FileSize  from CdRomListDt Where DiskCode = ?"_s,
                     {keep}),
                 3);
    }

    void refusedPostShowsDataErrorOnce()
    {
        TQuery &masks = *m_dm->aqryExtDt;
        QCOMPARE(m_comm->OpenSql(masks, u"select extCode, extDetailInfo  from extDt  Where extCode = ?"_s, {-1}), 0);
        masks.Append();
        masks.FieldByName(u"extCode"_s).SetValue(u"-1"_s);
        masks.FieldByName(u"extDetailInfo"_s).SetValue(u"*.x"_s);
        QVERIFY(!masks.Post());
        QCOMPARE(m_presenter.calls.size(), 1);
        const auto call = m_presenter.calls.first();
        QCOMPARE(call.message, u"数据操作失败"_s);
        QCOMPARE(call.caption, QString());
        const QStringList lines = call.details.split(u'\r');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0), u"系统提示："_s);
        QVERIFY2(lines.at(1).startsWith(u"  FOREIGN KEY"_s), qPrintable(lines.at(1)));
        // The dataset stays in insert state until the caller cancels.
        QCOMPARE(masks.state(), TQuery::State::Insert);
        masks.Cancel();
        QCOMPARE(masks.state(), TQuery::State::Browse);
        QCOMPARE(masks.RecordCount(), 0);
    }

    void unguardedQueryRaisesItsError()
    {
        const int disc = addDisc(u"x"_s);
        TQuery &discs = *m_dm->aqryCdRomListMt;
        discs.Open();
        QVERIFY(discs.Locate(u"DiskCode"_s, disc));
        discs.Edit();
        discs.FieldByName(u"DiskCode"_s).SetValue(u"not a number"_s);
        QVERIFY_THROWS_EXCEPTION(DbError, (void)discs.Post());
        QVERIFY(m_presenter.calls.isEmpty());
    }

    void retryRunsTheOperationAgain()
    {
        TQuery &q = *m_dm->aqryTempFind;
        q.setUpdateTable(u"extMt"_s, u"extCode"_s);
        int failures = 0;
        q.setOnError([&](TQuery &, const DbError &) {
            ++failures;
            // Second time round the value is acceptable.
            q.FieldByName(u"extCode"_s).SetValue(QVariant());
            return failures < 3 ? TQuery::ErrorAction::Retry : TQuery::ErrorAction::Fail;
        });
        QCOMPARE(m_comm->OpenSql(q, u"select extCode, extName from extMt"_s), 5);
        q.Append();
        q.FieldByName(u"extCode"_s).SetValue(u"abc"_s);
        q.FieldByName(u"extName"_s).SetValue(u"retry"_s);
        QVERIFY(q.Post());
        QCOMPARE(failures, 1);
        QCOMPARE(q.RecordCount(), 6);
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
