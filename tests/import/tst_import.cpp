// Importing a disc (mode 2) and a folder (mode 3) from the main window.
#include "CatalogueFixture.h"
#include "FakePlatform.h"
#include "RecordingErrorPresenter.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/DiscBrowser.h"
#include "app/FrmMain.h"
#include "drives/DriveListView.h"
#include "drives/platform/PlatformOverride.h"
#include "import/DiscImport.h"
#include "import/DrvList.h"
#include "import/Drvbtn.h"
#include "import/ExtEdition.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "ui/MyStatusBar.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestImport : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<PlatformOverride> m_override;
    std::unique_ptr<TestSession> m_session;
    ScriptedPrompts m_prompts;
    std::unique_ptr<TfrmMain> m_main;

    void file(char letter, const QString &relative)
    {
        const QString path = m_platform->drive(letter).root + u'/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

    // Runs an import action; the steps act on the dialog while it is open.
    void import(const char *action, const std::function<void(TfrmExtEdition &)> &steps)
    {
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<TfrmExtEdition *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            steps(*dialog);
            if (dialog->isVisible())
                dialog->BitBtn2->click();
        });
        m_main->findChild<QAction *>(QLatin1StringView(action))->trigger();
        QVERIFY(m_main->isEnabled());
    }

    static void chooseCategory(TfrmExtEdition &dialog, const QString &name)
    {
        dialog.cbCatalog->setCurrentIndex(dialog.cbCatalog->findText(name));
        emit dialog.cbCatalog->activated(dialog.cbCatalog->currentIndex());
    }

    QStringList treeNames() const
    {
        QStringList names;
        for (int i = 0; i < m_main->rootNode()->childCount(); ++i)
            names << m_main->rootNode()->child(i)->text(0);
        return names;
    }

    QStringList storedFiles(const QString &disc)
    {
        m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"Select DiskCode From CdRomListMt Where DiskName = ?"_s,
                                {disc});
        const qint64 code = m_session->dm.aqryTempFind->FieldByName(u"DiskCode"_s).AsInteger();
        m_session->comm.OpenSql(*m_session->dm.aqryTempFind,
                                u"select FilePath, FileName from CdRomListDt where DiskCode = ?"_s, {code});
        QStringList out;
        for (m_session->dm.aqryTempFind->First(); !m_session->dm.aqryTempFind->Eof();
             m_session->dm.aqryTempFind->Next())
            out << m_session->dm.aqryTempFind->FieldByName(u"FilePath"_s).AsString() +
                       m_session->dm.aqryTempFind->FieldByName(u"FileName"_s).AsString();
        return out;
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_override = std::make_unique<PlatformOverride>(*m_platform);
        m_platform->addDrive('c');
        m_platform->addDrive('e', DriveTypes::CdRom);
        m_platform->addDrive('g', DriveTypes::CdRom);
        m_platform->drive('g').volume.label = u"AUDIO_1"_s;
        m_platform->drive('g').volume.serial = 0x1F;
        m_session = std::make_unique<TestSession>(TestProgramDir::Catalogue::WithCategories);
        m_prompts = ScriptedPrompts();
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
    }

    void cleanup()
    {
        m_main.reset();
        m_session.reset();
        m_override.reset();
        m_platform.reset();
    }

    void discImportStoresTheDisc()
    {
        file('g', u"a.mp3"_s);
        file('g', u"sub/b.mp3"_s);
        file('g', u"c.txt"_s);
        QVERIFY(m_session->data.addDisc(u"Zebra"_s) > 0);
        QVERIFY(m_session->data.addDisc(u"apple"_s) > 0);
        m_main->browser().ReloadDiscTree();
        import("actCDimp", [&](TfrmExtEdition &dialog) {
            QCOMPARE(dialog.windowTitle(), u"光盘导入"_s);
        QCOMPARE(dialog.size(), QSize(824, 468));
        QCOMPARE(dialog.Label3->text(), u"光盘名:"_s);
        QVERIFY(dialog.dlInfo->isVisible());
        QVERIFY(!dialog.lbCatalog->isVisible());
        QCOMPARE(dialog.dlInfo->Buttons().size(), 2);
        QCOMPARE(dialog.dlInfo->Buttons()[1]->Text(), u"CDRom [G:]"_s);
        QCOMPARE(dialog.cbCatalog->currentText(), u"音乐"_s);
        dialog.dlInfo->Buttons()[1]->ImageButton->click();
        QCOMPARE(dialog.edtDrvLabel->text(), u"AUDIO_1"_s);
        QCOMPARE(dialog.rows()->rowCount(), 2);
        QCOMPARE(dialog.rows()->row(0).sub[2], u"g:\\sub\\"_s);
        saveScreenshot(dialog, u"import-disc"_s);
        dialog.edtDrvLabel->setText(u"My Music"_s);
        dialog.btnOk->click();
    });
    QCOMPARE(treeNames(), (QStringList{u"apple"_s, u"My Music"_s, u"Zebra"_s}));
    QCOMPARE(storedFiles(u"My Music"_s), (QStringList{u"\\sub\\b.mp3"_s, u"\\a.mp3"_s}));
    QCOMPARE(m_session->comm.OpenSql(*m_session->dm.aqryTempFind,
                                     u"select DiskLabel from CdRomListMt where DiskSerial = '0000001F'"_s),
             1);
    QCOMPARE(m_session->dm.aqryTempFind->FieldByName(u"DiskLabel"_s).AsString(), u"AUDIO_1"_s);
    QCOMPARE(m_main->MyStatusBar1->Panel7->text(), u"完成导入"_s);
    QCOMPARE(m_main->dlvStatus->topLevelItem(1)->text(3), u"My Music"_s);
    QVERIFY(m_prompts.calls.isEmpty());
    QVERIFY(m_session->presenter.calls.isEmpty());
}

    // The drive list and the disc import name the catalogued discs a drive's disc is; a
    // double-click leads to the first in the tree; deletes and media changes update it.
    void cataloguedDiscsAreRecognised()
{
    QVERIFY(m_session->data.addDisc(u"Twin"_s, u"AUDIO_1"_s, u"0000001F"_s) > 0);
    QVERIFY(m_session->data.addFile(m_session->data.addDisc(u"Old"_s, u"AUDIO_1"_s, u"0000001F"_s), u"a.mp3"_s));
    QVERIFY(m_session->data.addDisc(u"Blank"_s, QString(), u"00000000"_s) > 0);
    m_platform->drive('e').volume = {};
    m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
    m_main->show();
    TDriveListView &drives = *m_main->dlvStatus;
    QCOMPARE(drives.topLevelItem(0)->text(3), QString());
    QCOMPARE(drives.topLevelItem(1)->text(3), u"Old、Twin"_s);

    emit drives.itemDoubleClicked(drives.topLevelItem(1), 0);
    QCOMPARE(m_main->tvCdIndex->currentItem()->text(0), u"Old"_s);
    QCOMPARE(m_main->lvDetail->rows()->rowCount(), 1);

        import("actCDimp", [&](TfrmExtEdition &dialog) {
            dialog.dlInfo->Buttons()[1]->ImageButton->click();
        QVERIFY(dialog.lblCatalogued->isVisible());
        QCOMPARE(dialog.lblCatalogued->text(), u"此光盘已在索引库中：Old、Twin"_s);
        dialog.dlInfo->Buttons()[0]->ImageButton->click();
        QVERIFY(!dialog.lblCatalogued->isVisible());
});

m_main->findChild<QAction *>(u"actDel"_s)->trigger();
QCOMPARE(drives.topLevelItem(1)->text(3), u"Twin"_s);
m_platform->drive('g').ready = false;
drives.DeviceChange(FakePlatform::removal({'g'}));
QCOMPARE(drives.topLevelItem(1)->text(3), QString());
}

void folderImportScansTheChosenFolder()
{
    file('c', u"music/rock/x.mp3"_s);
    file('c', u"music/y.wav"_s);
    file('c', u"other/z.mp3"_s);
    file('c', u"music/locked/w.mp3"_s);
    m_platform->setUnreadable('c', u"music/locked"_s);
        import("actDriverImp", [&](TfrmExtEdition &dialog) {
            QCOMPARE(dialog.windowTitle(), u"磁盘导入"_s);
        QCOMPARE(dialog.Label3->text(), u"导入名称："_s);
        QVERIFY(dialog.dlbPath->isVisible());
        // 文件时间 starts at the creation time; a choice is kept for the next import.
        QCOMPARE(dialog.cbFileTime->currentText(), u"创建时间"_s);
        dialog.cbFileTime->setCurrentIndex(1);
        emit dialog.cbFileTime->activated(1);
        QCOMPARE(DiscImport::savedFolderTime(), ScanTime::Modified);
        DiscImport::saveFolderTime(ScanTime::Created);
        QVERIFY(!dialog.dlInfo->isVisible());
        QCOMPARE(dialog.dcbDrive->currentText().left(2), u"c:"_s);
        const QModelIndex root = dialog.dlbPath->model()->index(0, 0);
        dialog.dlbPath->expand(root);
        const QModelIndex music = dialog.dlbPath->model()->index(0, 0, root);
        QCOMPARE(music.data().toString(), u"music"_s);
        dialog.dlbPath->setCurrentIndex(music);
        dialog.Button4->click();
        QCOMPARE(dialog.rows()->rowCount(), 2);
        saveScreenshot(dialog, u"import-folder"_s);
        dialog.edtDrvLabel->setText(u"  音乐文件夹"_s);
        dialog.btnOk->click();
});
QCOMPARE(treeNames(), QStringList{u"  音乐文件夹"_s});
QCOMPARE(storedFiles(u"  音乐文件夹"_s), (QStringList{u"\\music\\rock\\x.mp3"_s, u"\\music\\y.wav"_s}));
// The folder that could not be read is passed over, and said so.
QCOMPARE(m_main->MyStatusBar1->Panel7->text(), u"完成导入；1个文件夹和0个文件无法读取，没有列入"_s);
}

void refusalsKeepTheDialogOpen()
{
    file('e', u"a.mp3"_s);
    QVERIFY(m_session->data.addDisc(u"Music"_s) > 0);
    m_main->browser().ReloadDiscTree();
        import("actCDimp", [&](TfrmExtEdition &dialog) {
            // Refusals need no message box, but the dialog says why.
            QVERIFY(!dialog.lblHint->isVisible());
        dialog.btnOk->click();
        QCOMPARE(dialog.lblHint->text(), u"请点击光盘所在的驱动器"_s);
        // An empty drive: name empty, list empty, "确定" refused without a message.
        m_platform->drive('g').ready = false;
        dialog.dlInfo->Buttons()[1]->ImageButton->click();
        QCOMPARE(dialog.edtDrvLabel->text(), QString());
        QCOMPARE(dialog.lblHint->text(), u"驱动器中没有光盘"_s);
        dialog.btnOk->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.lblHint->isVisible());
        QVERIFY(m_prompts.calls.isEmpty());

        // Blanks only are no name.
        dialog.dlInfo->Buttons()[0]->ImageButton->click();
        QCOMPARE(dialog.rows()->rowCount(), 1);
        QVERIFY(!dialog.lblHint->isVisible());
        dialog.edtDrvLabel->setText(u"   "_s);
        dialog.btnOk->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.lblHint->text(), u"请输入光盘名"_s);
        QVERIFY(dialog.lblHint->isVisible());

        // A name already catalogued, in another letter case.
        dialog.edtDrvLabel->setText(u"MUSIC"_s);
        dialog.btnOk->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_prompts.kinds(), QStringList{u"message"_s});
        QCOMPARE(m_prompts.calls.first().text, u"光盘索引库中已经有该名称的光盘了!"_s);
        dialog.close();
        QVERIFY(dialog.isVisible());
        // "取消" closes it; nothing is written.
});
QCOMPARE(treeNames(), QStringList{u"Music"_s});
QCOMPARE(m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"select DiskName from CdRomListMt"_s), 1);
}

// Without an optical drive the drive bar says where else files come from.
void noOpticalDriveSaysWhatToDo()
{
    m_platform->removeDrive('e');
    m_platform->removeDrive('g');
    import("actCDimp", [&](TfrmExtEdition &dialog) {
        QVERIFY(dialog.dlInfo->Buttons().isEmpty());
    QVERIFY(dialog.lblNoDrive && dialog.lblNoDrive->isVisible());
    QVERIFY(dialog.lblNoDrive->text().startsWith(u"没有光盘驱动器"_s));
    QVERIFY(dialog.lblNoDrive->text().contains(u"磁盘导入"_s));
    QVERIFY(dialog.lblNoDrive->text().contains(u"--cd-image"_s));
    dialog.btnOk->click();
    QCOMPARE(dialog.lblHint->text(), u"没有光盘驱动器"_s);
    saveScreenshot(dialog, u"import-no-drive"_s);
});
}

void categoryWithoutMasksAndRescans()
{
    file('e', u"one.mp3"_s);
    file('g', u"two.mp3"_s);
    file('g', u"three.mp3"_s);
    QVERIFY(
        m_session->comm.ExecSql(*m_session->dm.aqryTempFind, u"Insert Into extMt (extName) values (?)"_s, {u"空类"_s}));
        import("actCDimp", [&](TfrmExtEdition &dialog) {
            dialog.dlInfo->Buttons()[0]->ImageButton->click();
        QCOMPARE(dialog.rows()->rowCount(), 1);
        QCOMPARE(dialog.edtDrvLabel->text(), u"DRIVE_E"_s);
        // Two scans in a row: only the second's rows and drive remain.
        dialog.dlInfo->Buttons()[1]->ImageButton->click();
        QCOMPARE(dialog.rows()->rowCount(), 2);
        QCOMPARE(dialog.DriveInfo.DiskLabel, u"AUDIO_1"_s);
        // A category without masks: the click only clears the list.
        chooseCategory(dialog, u"空类"_s);
        QCOMPARE(dialog.lbCatalog->count(), 0);
        dialog.dlInfo->Buttons()[0]->ImageButton->click();
        QCOMPARE(dialog.rows()->rowCount(), 0);
        QCOMPARE(dialog.lblHint->text(), u"没有找到符合扩展名的文件"_s);
        QCOMPARE(dialog.edtDrvLabel->text(), u"AUDIO_1"_s);
        QCOMPARE(dialog.DriveInfo.DiskLabel, u"AUDIO_1"_s);
});
QVERIFY(treeNames().isEmpty());
}

// Selecting a disc and then importing another leaves the selected disc as it was: its
// node current, its files listed, Delete enabled, and "完成导入" in the status line.
void importKeepsTheSelectedDisc()
{
    file('g', u"a.mp3"_s);
    const int zebra = m_session->data.addDisc(u"Zebra"_s);
    QVERIFY(m_session->data.addFiles(zebra, 2));
    m_main->browser().ReloadDiscTree();
    m_main->tvCdIndex->setCurrentItem(m_main->rootNode()->child(0));
    QCOMPARE(m_main->lvDetail->rows()->rowCount(), 2);
    import("actCDimp", [&](TfrmExtEdition &dialog) {
        dialog.dlInfo->Buttons()[1]->ImageButton->click();
    dialog.edtDrvLabel->setText(u"Apple"_s);
    dialog.btnOk->click();
});
QCOMPARE(treeNames(), (QStringList{u"Apple"_s, u"Zebra"_s}));
QCOMPARE(m_main->tvCdIndex->currentItem()->text(0), u"Zebra"_s);
QVERIFY(m_main->tvCdIndex->currentItem()->isSelected());
QCOMPARE(m_main->lvDetail->rows()->rowCount(), 2);
QVERIFY(m_main->findChild<QAction *>(u"actDel"_s)->isEnabled());
QCOMPARE(m_main->MyStatusBar1->Panel7->text(), u"完成导入"_s);
}

// A name check the engine refuses shows its message and keeps the dialog open; a disc the
// catalogue refuses to store shows "导入失败" with the engine's message, and neither a
// disc record, a file record nor a node is left.
void failuresStoreNothing()
{
    file('g', u"a.mp3"_s);
    const auto exec = [this](const QString &statement) {
        QSqlQuery query(QSqlDatabase::database(m_session->dm.aConQl.connectionName()));
        QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
    };
    import("actCDimp", [&](TfrmExtEdition &dialog) {
        dialog.dlInfo->Buttons()[1]->ImageButton->click();
    exec(u"alter table CdRomListMt rename to Hidden"_s);
    dialog.btnOk->click();
    exec(u"alter table Hidden rename to CdRomListMt"_s);
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_prompts.kinds(), QStringList{u"critical"_s});
    QVERIFY(m_prompts.calls.first().text.contains(u"CdRomListMt"_s));
    dialog.close();
    QVERIFY(dialog.isVisible());

    exec(u"create trigger refuse before insert on CdRomListMt begin select raise(abort, 'disc refused'); end"_s);
    dialog.btnOk->click();
    QVERIFY(!dialog.isVisible());
});
QCOMPARE(m_session->presenter.calls.size(), 1);
QCOMPARE(m_session->presenter.calls.first().message, u"导入失败"_s);
QVERIFY(m_session->presenter.calls.first().details.contains(u"disc refused"_s));
QVERIFY(treeNames().isEmpty());
QCOMPARE(m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"select DiskName from CdRomListMt"_s), 0);
QCOMPARE(m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"select FileName from CdRomListDt"_s), 0);
}

void cancelAfterScanWritesNothing()
{
    file('e', u"a.mp3"_s);
        import("actCDimp", [&](TfrmExtEdition &dialog) {
            dialog.dlInfo->Buttons()[0]->ImageButton->click();
        QCOMPARE(dialog.rows()->rowCount(), 1);
        dialog.edtDrvLabel->setText(u"never"_s);
});
QCOMPARE(m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"select DiskName from CdRomListMt"_s), 0);
QCOMPARE(m_session->comm.OpenSql(*m_session->dm.aqryTempFind, u"select FileName from CdRomListDt"_s), 0);
}
}
;

QTEST_MAIN(TestImport)
#include "tst_import.moc"
