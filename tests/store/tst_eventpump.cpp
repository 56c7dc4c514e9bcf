// The throttled event pump that long loops call.
#include "store/ProgressSink.h"

#include <QTimer>
#include <QtTest>

class TestEventPump : public QObject {
    Q_OBJECT

private slots:
    void firstCallRunsPendingEventsThenThrottles()
    {
        EventPump pump(60 * 60 * 1000);
        int ran = 0;
        QMetaObject::invokeMethod(this, [&] { ++ran; }, Qt::QueuedConnection);
        QVERIFY(pump.pump());
        QCOMPARE(ran, 1);
        QMetaObject::invokeMethod(this, [&] { ++ran; }, Qt::QueuedConnection);
        QVERIFY(!pump.pump());
        QCOMPARE(ran, 1);
        pump.restart();
        QVERIFY(pump.pump());
        QCOMPARE(ran, 2);
    }

    void zeroIntervalAlwaysPumps()
    {
        EventPump pump(0);
        int ran = 0;
        for (int i = 0; i < 3; ++i) {
            QMetaObject::invokeMethod(this, [&] { ++ran; }, Qt::QueuedConnection);
            QVERIFY(pump.pump());
        }
        QCOMPARE(ran, 3);
    }
};

QTEST_GUILESS_MAIN(TestEventPump)
#include "tst_eventpump.moc"
