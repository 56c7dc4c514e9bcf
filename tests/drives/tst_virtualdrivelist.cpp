// A virtual drive in the drive status list: its row shows the image's label and serial,
// and the list follows its tray through the platform's own media events. Also the error
// window that tells of an image the command line named but that cannot be attached.
#include "IsoImages.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "VirtualDriveRig.h"
#include "drives/CdImageOption.h"
#include "drives/DriveListView.h"
#include "drives/DriveUtilities.h"
#include "drives/StatusFrames.h"
#include "drives/platform/PlatformOverride.h"
#include "ui/FrmErrorShow.h"

#include <QPlainTextEdit>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
QStringList row(const TDriveListView &list, int index)
{
    const QTreeWidgetItem *item = list.topLevelItem(index);
    return {item->text(0), item->text(1), item->text(2)};
}

void tick(TDriveListView &list, int times)
{
    for (int i = 0; i < times; ++i)
        list.AnimTick();
}
} // namespace

class TestVirtualDriveList : public QObject {
    Q_OBJECT

private slots:
    void listFollowsTheVirtualTray()
    {
        if (!IsoImages::has(u"genisoimage"_s))
            QSKIP(qPrintable(IsoImages::missing(u"genisoimage"_s)));
        IsoImages images;
        const QString image = images.genisoimage(u"j.iso"_s, {u"-J"_s, u"-V"_s, u"我的光盘"_s});
        QVERIFY(!image.isEmpty());
        VirtualDriveRig rig;
        QCOMPARE(rig.platform->attachImage(image), std::optional<char>('e'));
        PlatformOverride inForce(*rig.platform);
        RDriveInfo info;
        GetDriveInfo('e', info);

        ScriptedPrompts prompts;
        TDriveListView list(prompts);
        list.setSmallImages(StatusFrames::ilStatus());
        list.Loaded();
        list.resize(420, 120);
        QCOMPARE(list.topLevelItemCount(), 2);
        QCOMPARE(row(list, 0), (QStringList{u"D:"_s, QString(), u"00000000"_s}));
        QCOMPARE(row(list, 1), (QStringList{u"E:"_s, u"我的光盘"_s, info.DiskSerial}));
        QCOMPARE(list.rowImage(1), 0);
        saveScreenshot(list, u"virtual-drive-list"_s);

        QVERIFY(OpenCdDoor(u"E:"_s));
        QTRY_COMPARE(row(list, 1), (QStringList{u"E:"_s, QString(), QString()}));
        tick(list, 4);
        QCOMPARE(list.rowImage(1), 4);
        QCOMPARE(row(list, 1), (QStringList{u"E:"_s, QString(), u"00000000"_s}));

        QVERIFY(CloseCdDoor(u"E:"_s));
        QTRY_COMPARE(list.rowImage(1), 5); // the arrival runs from the next tick on
        tick(list, 8);
        QCOMPARE(list.rowImage(1), 0);
        QCOMPARE(row(list, 1), (QStringList{u"E:"_s, u"我的光盘"_s, info.DiskSerial}));
        QCOMPARE(row(list, 0), (QStringList{u"D:"_s, QString(), u"00000000"_s}));
    }

    void imageThatCannotBeAttachedIsShown()
    {
        VirtualDriveRig rig;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not attached as a CD image"_s));
        const auto failures =
            CdImageOption::attachAll({u"quillon"_s, u"--cd-image"_s, u"/tmp/没有这个映像.iso"_s}, *rig.platform);
        QCOMPARE(failures.size(), 1);
        TfrmErrorShow dialog;
        dialog.Fill(failures[0].message, failures[0].details, u"Quillon系列软件之-光盘索引库"_s);
        dialog.Expand();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto texts = dialog.findChildren<QPlainTextEdit *>();
        QStringList shown;
        for (const QPlainTextEdit *edit : texts)
            shown.append(edit->toPlainText());
        QVERIFY(shown.join(u'\n').contains(u"无法载入光盘映像：/tmp/没有这个映像.iso"_s));
        QVERIFY(shown.join(u'\n').contains(u"文件不存在。"_s));
        saveScreenshot(dialog, u"cd-image-error"_s);
    }
};

QTEST_MAIN(TestVirtualDriveList)
#include "tst_virtualdrivelist.moc"
