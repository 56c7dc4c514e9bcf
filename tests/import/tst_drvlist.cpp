// The drive bar of the disc import: one button per CD-ROM drive.
#include "FakePlatform.h"
#include "drives/platform/PlatformOverride.h"
#include "import/DrvList.h"
#include "import/Drvbtn.h"

#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestDrvList : public QObject {
    Q_OBJECT

private slots:
    void buttonsForTheCdRomDrives()
    {
        FakePlatform platform;
        PlatformOverride use(platform);
        platform.addDrive('a', DriveTypes::CdRom); // a and b are never looked at
        platform.addDrive('c');
        platform.addDrive('e', DriveTypes::CdRom);
        platform.addDrive('g', DriveTypes::CdRom).ready = false; // an empty drive gets a button too
        TDrvList bar;
        bar.resize(203, 219);
        QVERIFY(bar.Buttons().isEmpty());
        bar.setActive(true);
        bar.setActive(true);
        QCOMPARE(bar.Buttons().size(), 2);
        const TDrvbtn *e = bar.Buttons().at(0);
        const TDrvbtn *g = bar.Buttons().at(1);
        QCOMPARE(e->Text(), u"CDRom [E:]"_s);
        QCOMPARE(g->Text(), u"CDRom [G:]"_s);
        QCOMPARE(e->DrvName(), 'e');
        QCOMPARE(e->pos(), QPoint(62, 8));
        QCOMPARE(g->pos(), QPoint(62, 88));
        QCOMPARE(e->size(), QSize(79, 74));
        QCOMPARE(e->ImageButton->geometry(), QRect(17, 8, 44, 44));

        QSignalSpy clicks(&bar, &TDrvList::OnDrvClick);
        g->ImageButton->click();
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.first().at(1).value<char>(), 'g');

        bar.show();
        bar.resize(301, 219);
        QCOMPARE(bar.Buttons().at(0)->x(), (301 - 79) / 2);
        bar.setActive(false);
        QVERIFY(bar.Buttons().isEmpty());
    }

    void manyDrivesScroll()
    {
        FakePlatform platform;
        PlatformOverride use(platform);
        for (char letter = 'd'; letter <= 'k'; ++letter)
            platform.addDrive(letter, DriveTypes::CdRom);
        TDrvList bar;
        bar.resize(203, 219);
        QPixmap glyph(32, 32);
        glyph.fill(Qt::red);
        bar.setGlyph(glyph);
        bar.setActive(true);
        bar.show();
        QCOMPARE(bar.Buttons().size(), 8);
        QCOMPARE(bar.Buttons().last()->y(), 8 + 7 * 80);
        QVERIFY(!bar.Buttons().last()->ImageButton->icon().isNull());
        QVERIFY(bar.verticalScrollBar()->maximum() > 0);
    }

    void noDrivesNoButtons()
    {
        FakePlatform platform;
        PlatformOverride use(platform);
        platform.addDrive('c');
        TDrvList bar;
        bar.setActive(true);
        QVERIFY(bar.Buttons().isEmpty());
    }
};

QTEST_MAIN(TestDrvList)
#include "tst_drvlist.moc"
