// 校验光盘 and 需要检查的光盘 in the main window: the disc found in its drive, the result window
// with its counts and list, the node's new state, and a disc not found asked for by folder.
#include "FakePlatform.h"
#include "RecordingProgress.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/DueDiscsDialog.h"
#include "app/FrmMain.h"
#include "app/VerifyDialog.h"
#include "drives/platform/PlatformOverride.h"
#include "import/DiscImport.h"
#include "import/RowChecksums.h"
#include "store/FileRowModel.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestVerifyWindow : public QObject {
    Q_OBJECT

    FakePlatform m_platform;
    PlatformOverride m_override{m_platform};

    void write(const QString &relative, const QByteArray &data)
    {
        QFile file(m_platform.drive('e').root + u'/' + relative);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
        m_platform.setCreationTime('e', relative, 133000000000000000ull);
    }
    static QTreeWidgetItem *node(TfrmMain &main, const QString &name)
    {
        for (int i = 0; i < main.rootNode()->childCount(); ++i)
            if (main.rootNode()->child(i)->text(0) == name)
                return main.rootNode()->child(i);
        return nullptr;
    }
    // Runs look on the dialog once it is open (the verification runs events before it opens
    // it), then closes it.
    template <class Dialog>
    void whenOpen(const std::function<void(Dialog &)> &look)
    {
        auto *poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [poll, look] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->deleteLater();
            poll->stop();
            const auto closing = qScopeGuard([dialog] { dialog->reject(); }); // a failed check too
            look(*dialog);
        });
        poll->start(10);
    }

private slots:
    void verifyFromTheTreeAndTheDueList()
    {
        FakePlatform::Drive &drive = m_platform.addDrive('e', DriveTypes::CdRom);
        drive.volume.label = u"OLD_CD"_s;
        drive.volume.serial = 0x1234ABCD;
        write(u"a.mp3"_s, "song");
        write(u"b.mp3"_s, "other");
        TestSession s;
        RecordingProgress progress;
        ImportChecksums checksums{true};
        for (const QString &name : {u"旧光盘"_s, u"从未校验"_s})
            QCOMPARE(DiscImport::run(s.dm, s.comm, 'e', u"e:\\"_s, {u"*.mp3"_s}, name, progress, {.checksums = &checksums}),
                     DiscImport::Result::Stored);
        write(u"b.mp3"_s, "OTHER");
        ScriptedPrompts prompts;
        TfrmMain main(s.dm, s.comm, prompts);
        main.show();
        QCoreApplication::processEvents();
        main.tvCdIndex->setCurrentItem(node(main, u"旧光盘"_s));
        QVERIFY(main.actVerify->isEnabled());
        whenOpen<TfrmVerify>([](TfrmVerify &dialog) {
            dialog.resize(900, 360);
            saveScreenshot(dialog, u"verify"_s);
            QVERIFY2(dialog.lblSummary->text().startsWith(u"相同 1，已改变 1，缺少 0"_s), qPrintable(dialog.lblSummary->text()));
            const FileRowModel &rows = *dialog.lvVerify->rows();
            QCOMPARE(rows.rowCount(), 1);
            QCOMPARE(rows.row(0).caption, u"b.mp3"_s);
            QVERIFY(rows.row(0).sub[3].startsWith(u"已改变"_s));
        });
        main.actVerify->trigger();
        QVERIFY(node(main, u"旧光盘"_s)->toolTip(0).contains(u"校验过，有不同的文件（今天）"_s));
        QVERIFY(node(main, u"从未校验"_s)->toolTip(0).contains(u"从未校验"_s));

        whenOpen<TfrmDueDiscs>([](TfrmDueDiscs &dialog) {
            saveScreenshot(dialog, u"due-discs"_s);
            QCOMPARE(dialog.tblDueDiscs->rowCount(), 1);
            QCOMPARE(dialog.tblDueDiscs->item(0, 0)->text(), u"从未校验"_s);
        });
        main.actDueDiscs->trigger();

        // Not in a drive and not imported from a folder: the folder is asked for; cancelled,
        // nothing is kept.
        drive.volume.serial = 0x99999999;
        prompts.calls.clear();
        main.tvCdIndex->setCurrentItem(node(main, u"从未校验"_s));
        main.actVerify->trigger();
        QCOMPARE(prompts.kinds(), QStringList{u"folder"_s});
        QVERIFY(node(main, u"从未校验"_s)->toolTip(0).contains(u"从未校验"_s));
    }
};

QTEST_MAIN(TestVerifyWindow)
#include "tst_verifywindow.moc"
