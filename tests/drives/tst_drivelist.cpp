// The drive status list: its rows, the animation that follows media events, and the
// tray commands of the main window.
#include "FakePlatform.h"
#include "RecordingErrorPresenter.h"
#include "ScriptedPrompts.h"
#include "TestProgramDir.h"
#include "app/FrmMain.h"
#include "drives/DriveListView.h"
#include "drives/StatusFrames.h"
#include "drives/platform/PlatformOverride.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"

#include <QAction>
#include <QHeaderView>
#include <QPainter>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
MediaEvent mediaEvent(MediaEvent::Kind kind, quint32 mask, bool media = true,
                      MediaEvent::DeviceType type = MediaEvent::DeviceType::Volume)
{
    MediaEvent e;
    e.event = kind;
    e.deviceType = type;
    e.mediaFlag = media;
    e.unitMask = mask;
    return e;
}

// A platform that records every drive asked about its volume: at start-up only the
// optical drives may be; any other could be a network mount that hangs.
class RecordingPlatform : public FakePlatform {
public:
    QList<char> volumesAsked;
    std::optional<VolumeInfo> volumeInformation(char letter) override
    {
        volumesAsked.append(letter);
        return FakePlatform::volumeInformation(letter);
    }
    std::optional<qint64> volumeSize(char letter) override
    {
        volumesAsked.append(letter);
        return FakePlatform::volumeSize(letter);
    }
};

QStringList row(const TDriveListView &list, int index)
{
    const QTreeWidgetItem *item = list.topLevelItem(index);
    return {item->text(0), item->text(1), item->text(2)};
}
} // namespace

class TestDriveList : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<PlatformOverride> m_override;
    ScriptedPrompts m_prompts;

    std::unique_ptr<TDriveListView> makeList(bool images = true)
    {
        auto list = std::make_unique<TDriveListView>(m_prompts);
        if (images)
            list->setSmallImages(StatusFrames::ilStatus());
        list->Loaded();
        return list;
    }
    QList<int> tickFrames(TDriveListView &list, int row, int ticks)
    {
        QList<int> frames;
        for (int i = 0; i < ticks; ++i) {
            list.AnimTick();
            frames << list.rowImage(row);
        }
        return frames;
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_override = std::make_unique<PlatformOverride>(*m_platform);
        m_prompts = ScriptedPrompts();
    }

    void cleanup()
    {
        m_override.reset();
        m_platform.reset();
    }

    void noDrivesNoRows()
    {
        m_platform->addDrive('c');
        auto list = makeList();
        QCOMPARE(list->columnCount(), 4);
        QCOMPARE(list->headerItem()->text(0), u"名称"_s);
        QCOMPARE(list->headerItem()->text(1), u"卷标"_s);
        QCOMPARE(list->headerItem()->text(2), u"序列号"_s);
        QCOMPARE(list->headerItem()->text(3), u"索引库中"_s);
        QCOMPARE(list->topLevelItemCount(), 0);
        QSignalSpy closes(list.get(), &TDriveListView::OnCloseCd);
        list->DeviceChange(mediaEvent(MediaEvent::Kind::Arrival, MediaEvent::unitBit('d')));
        list->AnimTick();
        QCOMPARE(closes.size(), 1);
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(list->AnimTimer()->interval(), 500);
        QVERIFY(list->AnimTimer()->isActive());
    }

    void rowsShowDrivesAndTheirState()
    {
        m_platform->addDrive('c');
        m_platform->addDrive('d', DriveTypes::CdRom);
        m_platform->addDrive('f', DriveTypes::CdRom).ready = false;
        auto list = makeList();
        QCOMPARE(list->DriveCodes(), (QStringList{u"100"_s, u"102"_s}));
        QCOMPARE(row(*list, 0), (QStringList{u"D:"_s, u"DRIVE_D"_s, u"5EED0064"_s}));
        QCOMPARE(row(*list, 1), (QStringList{u"F:"_s, QString(), u"00000000"_s}));
        QCOMPARE(list->rowImage(0), 0);
        QCOMPARE(list->rowImage(1), 4);
    }

    void eventsThatDoNotConcernMediaChangeNothing()
    {
        m_platform->addDrive('d', DriveTypes::CdRom);
        auto list = makeList();
        QSignalSpy opens(list.get(), &TDriveListView::OnOpenCd);
        QSignalSpy closes(list.get(), &TDriveListView::OnCloseCd);
        const quint32 d = MediaEvent::unitBit('d');
        list->DeviceChange(mediaEvent(MediaEvent::Kind::RemoveComplete, d, false));
        list->DeviceChange(mediaEvent(MediaEvent::Kind::RemoveComplete, d, true, MediaEvent::DeviceType::Other));
        list->DeviceChange(mediaEvent(MediaEvent::Kind::Other, d));
        QCOMPARE(opens.size() + closes.size(), 0);
        QCOMPARE(list->AnimState(), QList<int>{0});
        QCOMPARE(row(*list, 0)[1], u"DRIVE_D"_s);
    }

    void arrivalForAnUnlistedDrive()
    {
        m_platform->addDrive('d', DriveTypes::CdRom);
        auto list = makeList();
        QSignalSpy closes(list.get(), &TDriveListView::OnCloseCd);
        list->DeviceChange(mediaEvent(MediaEvent::Kind::Arrival, MediaEvent::unitBit('g') | MediaEvent::unitBit('b')));
        QCOMPARE(closes.size(), 1);
        QCOMPARE(closes.first().at(1).toStringList(), (QStringList{u"98"_s, u"103"_s}));
        QCOMPARE(list->AnimState(), QList<int>{0});
    }

    void removalSlidesOutAndEmptiesTheRow()
    {
        m_platform->addDrive('d', DriveTypes::CdRom);
        m_platform->addDrive('e', DriveTypes::CdRom);
        auto list = makeList();
        QSignalSpy opens(list.get(), &TDriveListView::OnOpenCd);
        m_platform->drive('d').ready = false;
        m_platform->drive('e').ready = false;
        list->DeviceChange(
            mediaEvent(MediaEvent::Kind::RemoveComplete, MediaEvent::unitBit('d') | MediaEvent::unitBit('e')));
        QCOMPARE(opens.first().at(1).toStringList(), (QStringList{u"100"_s, u"101"_s}));
        QCOMPARE(list->AnimState(), (QList<int>{1, 1}));
        QCOMPARE(row(*list, 0), (QStringList{u"D:"_s, QString(), QString()}));
        QCOMPARE(tickFrames(*list, 0, 4), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(list->rowImage(1), 4);
        QCOMPARE(list->AnimState(), (QList<int>{0, 0}));
        QCOMPARE(row(*list, 0), (QStringList{u"D:"_s, QString(), u"00000000"_s}));
        list->AnimTick();
        QCOMPARE(list->rowImage(0), 4);
    }

    void arrivalSlidesInTurnsAndReadsTheDisc()
    {
        m_platform->addDrive('d', DriveTypes::CdRom).ready = false;
        auto list = makeList();
        QCOMPARE(list->rowImage(0), 4);
        m_platform->drive('d').ready = true;
        m_platform->drive('d').volume.label = u"NEW DISC"_s;
        m_platform->drive('d').volume.serial = 0x1F;
        list->DeviceChange(mediaEvent(MediaEvent::Kind::Arrival, MediaEvent::unitBit('d')));
        QCOMPARE(tickFrames(*list, 0, 9), (QList<int>{5, 6, 7, 8, 9, 10, 11, 12, 0}));
        QCOMPARE(row(*list, 0), (QStringList{u"D:"_s, u"NEW DISC"_s, u"0000001F"_s}));

        // A drive still not ready when the animation ends shows the empty drive.
        m_platform->drive('d').ready = false;
        list->DeviceChange(mediaEvent(MediaEvent::Kind::Arrival, MediaEvent::unitBit('d')));
        QCOMPARE(tickFrames(*list, 0, 9).last(), 4);
    }

    void withoutImagesRowsAreOnlyEmptied()
    {
        m_platform->addDrive('d', DriveTypes::CdRom);
        auto list = makeList(false);
        QCOMPARE(list->rowImage(0), -1);
        QVERIFY(list->topLevelItem(0)->icon(0).isNull());
        list->DeviceChange(mediaEvent(MediaEvent::Kind::RemoveComplete, MediaEvent::unitBit('d')));
        for (int i = 0; i < 10; ++i)
            list->AnimTick();
        QCOMPARE(row(*list, 0), (QStringList{u"D:"_s, QString(), QString()}));
        QCOMPARE(list->AnimState(), QList<int>{1});
    }

    void platformEventsReachTheList()
    {
        m_platform->addDrive('d', DriveTypes::CdRom);
        auto list = makeList();
        m_platform->emitMediaEvent(FakePlatform::removal({'d'}));
        QTRY_COMPARE(list->AnimState(), QList<int>{1});
    }

    void columnsShareTheWidth()
    {
        m_platform->addDrive('d', DriveTypes::CdRom);
        auto list = makeList();
        list->resize(1024, 68);
        list->show();
        for (int column = 0; column < 4; ++column)
            QCOMPARE(list->header()->sectionSize(column), 1024 / 4 - 3);
    }

    void trayCommandsFollowTheSelection()
    {
        m_platform->addDrive('d', DriveTypes::CdRom);
        m_platform->addDrive('e', DriveTypes::CdRom);
        m_platform->addDrive('f', DriveTypes::CdRom);
        TestProgramDir dir;
        RecordingErrorPresenter presenter;
        TLCommFunction comm(&presenter);
        TLCommBusiness business(comm);
        TdmQL dm(dir.path(), comm, business);
        TfrmMain window(dm, comm, m_prompts);
        auto trigger = [&](const char *name) { window.findChild<QAction *>(QLatin1StringView(name))->trigger(); };
        TDriveListView *list = window.dlvStatus;
        QCOMPARE(list->topLevelItemCount(), 3);

        trigger("actOpenCd");
        trigger("actCloseCd");
        QCOMPARE(m_prompts.kinds(), (QStringList{u"message"_s, u"message"_s}));
        QCOMPARE(m_prompts.calls[0].text, u"请选择弹出关闭的光驱!"_s);
        QCOMPARE(m_prompts.calls[1].text, u"请选择需要关闭的光驱"_s);
        QVERIFY(m_platform->trayCalls.isEmpty());

        list->topLevelItem(2)->setSelected(true);
        list->topLevelItem(0)->setSelected(true);
        trigger("actOpenCd");
        QCOMPARE(m_platform->trayCalls.size(), 2);
        QCOMPARE(m_platform->trayCalls[0].letter, 'd');
        QCOMPARE(m_platform->trayCalls[1].letter, 'f');
        QVERIFY(m_platform->trayCalls[0].open && m_platform->trayCalls[1].open);
        QVERIFY(list->selectedItems().isEmpty());

        list->topLevelItem(1)->setSelected(true);
        trigger("actAllClose");
        QCOMPARE(m_platform->trayCalls.size(), 5);
        QVERIFY(!m_platform->trayCalls[4].open);
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(m_prompts.calls.size(), 2);
    }

    // A click selects one row; Ctrl adds another, Shift a range.
    void rowsSelectLikeAnOrdinaryList()
    {
        for (char letter : {'d', 'e', 'f'})
            m_platform->addDrive(letter, DriveTypes::CdRom);
        auto list = makeList();
        list->resize(400, 120);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                              list->visualItemRect(list->topLevelItem(row)).center());
        };
        const auto selected = [&] {
            QList<int> rows;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                if (list->topLevelItem(i)->isSelected())
                    rows << i;
            return rows;
        };
        click(0);
        click(2);
        QCOMPARE(selected(), QList<int>{2});
        click(0, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<int>{0, 2}));
        click(1);
        click(2, Qt::ShiftModifier);
        QCOMPARE(selected(), (QList<int>{1, 2}));
    }

    // The main window starts asking only the optical drives for their volumes.
    void startAsksOnlyOpticalDrives()
    {
        RecordingPlatform platform;
        const PlatformOverride override(platform);
        platform.addDrive('c');
        platform.addDrive('d', DriveTypes::CdRom);
        platform.addDrive('e', DriveTypes::Remote);
        platform.addDrive('f');
        TestProgramDir dir;
        RecordingErrorPresenter presenter;
        TLCommFunction comm(&presenter);
        TLCommBusiness business(comm);
        TdmQL dm(dir.path(), comm, business);
        TfrmMain window(dm, comm, m_prompts);
        window.show();
        QCoreApplication::processEvents();
        QCOMPARE(window.dlvStatus->topLevelItemCount(), 1);
        QVERIFY(!platform.volumesAsked.isEmpty());
        for (char letter : platform.volumesAsked)
            QCOMPARE(Platform::driveLetter(letter), 'd');
    }

    void framesPicture()
    {
        // All thirteen frames side by side, enlarged, for a look.
        QPixmap strip(13 * 40, 40);
        strip.fill(Qt::white);
        QPainter p(&strip);
        for (int i = 0; i < StatusFrames::Count; ++i) {
            const QImage frame = StatusFrames::frame(i, 32).toImage();
            QVERIFY(!frame.isNull());
            p.drawImage(i * 40 + 4, 4, frame);
        }
        p.end();
        // Each frame differs from the one before it: the animation moves.
        for (int i = 1; i < StatusFrames::Count; ++i)
            QVERIFY(StatusFrames::frame(i).toImage() != StatusFrames::frame(i - 1).toImage());
        const QString dir = qEnvironmentVariable("QUILLON_SCREENSHOTS");
        if (!dir.isEmpty())
            strip.save(dir + u"/status-frames.png"_s);
    }
};

QTEST_MAIN(TestDriveList)
#include "tst_drivelist.moc"
