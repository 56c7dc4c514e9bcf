// The file list's rows and the program's date-time text.
#include "store/DateText.h"
#include "store/FileRowModel.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
FileRow fileRow(const QString &disc, const QString &name, const QString &size)
{
    return FileRow{disc, {name, size, u"2024-01-01"_s, u"\\a\\"_s}};
}
} // namespace

class TestFileRows : public QObject {
    Q_OBJECT

private slots:
    void modelHoldsRowsAndHeader()
    {
        FileRowModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.setHeaderCaptions({u"光盘名"_s, u"文件名"_s, u"大小"_s, u"时间"_s, u"路径"_s});
        const QString disc = u"碟一"_s;
        model.appendRow(fileRow(disc, u"b.mp3"_s, u"20"_s));
        model.appendRows({fileRow(disc, u"a.mp3"_s, u"5368709120"_s), fileRow(disc, u"c.mp3"_s, u"3"_s)});
        model.appendRows({});
        QCOMPARE(inserted.size(), 2);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 5);
        QCOMPARE(model.index(1, 2).data().toString(), u"5368709120"_s);
        QCOMPARE(model.index(2, 0).data().toString(), disc);
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), u"时间"_s);
        QVERIFY(model.setHeaderData(2, Qt::Horizontal, u"大小▽"_s));
        QCOMPARE(model.headerCaption(2), u"大小▽"_s);
        QVERIFY(!model.index(3, 0).isValid());
        QVERIFY(!model.index(0, 5).isValid());
        // Rows of one disc share its caption's text.
        QVERIFY(model.row(0).caption.constData() == model.row(2).caption.constData());

        QPersistentModelIndex tracked = model.index(2, 1);
        model.reorder({1, 0, 2});
        QCOMPARE(model.row(0).sub[0], u"a.mp3"_s);
        QCOMPARE(model.row(1).sub[0], u"b.mp3"_s);
        model.reorder({2, 0, 1});
        QCOMPARE(model.row(0).sub[0], u"c.mp3"_s);
        QCOMPARE(tracked.row(), 0);
        QCOMPARE(tracked.data().toString(), u"c.mp3"_s);

        model.clear();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.headerCaption(0), u"光盘名"_s);
    }

    void dateTextRoundTrips_data()
    {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("midnight") << QDateTime(QDate(2024, 2, 29), QTime(0, 0)) << u"2024-02-29"_s;
        QTest::newRow("one second after") << QDateTime(QDate(2024, 2, 29), QTime(0, 0, 1)) << u"2024-02-29 00:00:01"_s;
        QTest::newRow("one second before") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                           << u"1999-12-31 23:59:59"_s;
        QTest::newRow("afternoon") << QDateTime(QDate(2003, 7, 15), QTime(14, 5, 9)) << u"2003-07-15 14:05:09"_s;
    }

    void dateTextRoundTrips()
    {
        QFETCH(QDateTime, value);
        QFETCH(QString, text);
        QCOMPARE(DateText::fromDateTime(value), text);
        QCOMPARE(DateText::toDateTime(text), value);
        QCOMPARE(DateText::sortKey(text), std::optional<qint64>(value.toString(u"yyyyMMddHHmmss"_s).toLongLong()));
        // A UTC time is shown in local time.
        QCOMPARE(DateText::fromDateTime(value.toUTC()), text);
    }

    void dateTextRefusesOtherText()
    {
        for (const QString &text : {u""_s, u"2024-13-01"_s, u"2024-02-30 10:00:00"_s, u"2024-01-01T10:00:00"_s,
                                    u"2024-01-01 10:00"_s, u"01/02/2024"_s, u"2024-01-01 24:00:00"_s,
                                    u"２０２４-01-01"_s, u"2024-01-01 10:00:6０"_s})
        {
            QVERIFY2(!DateText::toDateTime(text).isValid(), qPrintable(text));
            QVERIFY2(!DateText::sortKey(text), qPrintable(text));
        }
        QCOMPARE(DateText::fromDateTime(QDateTime()), QString());
    }
};

QTEST_GUILESS_MAIN(TestFileRows)
#include "tst_filerows.moc"
