// File times as the program shows them: local time by the machine's offset of today.
// Runs once under TZ=UTC and once under TZ=Asia/Shanghai.
#include "drives/FileTime.h"
#include "store/DateText.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr quint64 kTicksPerSecond = 10000000;
constexpr quint64 kUnixEpoch = 116444736000000000ULL; // 1970-01-01 00:00 UTC as a file time

quint64 fileTime(const QDateTime &utc)
{
    return kUnixEpoch + quint64(utc.toMSecsSinceEpoch()) * 10000;
}
} // namespace

class TestFileTime : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const int offset = QDateTime::currentDateTime().offsetFromUtc();
        if (offset != 0 && offset != 8 * 3600)
            QSKIP("needs TZ=UTC or TZ=Asia/Shanghai (ctest sets them)");
        m_shanghai = offset != 0;
    }

    void showsLocalText_data()
    {
        QTest::addColumn<quint64>("value");
        QTest::addColumn<QString>("utc");
        QTest::addColumn<QString>("shanghai");
        const auto at = [](int y, int mo, int d, int h, int mi, int s) {
            return fileTime(QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC));
        };
        QTest::newRow("new year") << at(2024, 1, 1, 0, 0, 0) << u"2024-01-01"_s << u"2024-01-01 08:00:00"_s;
        QTest::newRow("evening, next day in China")
            << at(2003, 7, 15, 18, 5, 9) << u"2003-07-15 18:05:09"_s << u"2003-07-16 02:05:09"_s;
        // China kept summer time in 1988; dates are shown with today's offset all the same.
        QTest::newRow("summer 1988") << at(1988, 7, 1, 0, 0, 0) << u"1988-07-01"_s << u"1988-07-01 08:00:00"_s;
        QTest::newRow("midnight in China") << at(1999, 12, 31, 16, 0, 0) << u"1999-12-31 16:00:00"_s << u"2000-01-01"_s;
        QTest::newRow("first file time") << quint64(0) << u"1601-01-01"_s << u"1601-01-01 08:00:00"_s;
        QTest::newRow("just before 1970") << kUnixEpoch - 1 << u"1969-12-31 23:59:59"_s << u"1970-01-01 07:59:59"_s;
        QTest::newRow("fraction dropped")
            << at(2010, 5, 5, 10, 0, 0) + kTicksPerSecond - 1 << u"2010-05-05 10:00:00"_s << u"2010-05-05 18:00:00"_s;
    }

    void showsLocalText()
    {
        QFETCH(quint64, value);
        QFETCH(QString, utc);
        QFETCH(QString, shanghai);
        QCOMPARE(DateText::fromDateTime(FileTimeToDateTime(value)), m_shanghai ? shanghai : utc);
    }

    void keepsMilliseconds()
    {
        const quint64 value = fileTime(QDateTime(QDate(2020, 2, 29), QTime(12, 0, 0, 250), Qt::UTC)) + 9999;
        QCOMPARE(FileTimeToDateTime(value).time().msec(), 250);
        QCOMPARE(FileTimeToDateTime(kUnixEpoch - 1).time().msec(), 999);
    }

    void refusesTimesPastTheLast()
    {
        QVERIFY(FileTimeToDateTime(0x7fffffffffffffffULL).isValid());
        QVERIFY(!FileTimeToDateTime(0x8000000000000000ULL).isValid());
        QCOMPARE(DateText::fromDateTime(FileTimeToDateTime(~0ULL)), QString());
    }

private:
    bool m_shanghai = false;
};

QTEST_GUILESS_MAIN(TestFileTime)
#include "tst_filetime.moc"
