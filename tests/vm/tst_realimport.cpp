// A whole CD import through the real drive, inside the test machine (tests/vm/guest.sh):
// the main window imports drive D: in mode 2, driven only through what a user reaches
// (actions, the import dialog's widgets by name, the drive's button), and the catalogue
// file then holds every file of the disc under its label and serial number. A disc whose
// file lies on blocks the drive fails to read (QEMU's blkdebug) is imported with checksums
// and verified, and a disc with one file altered is verified as changed.
#include "GuestDiscs.h"
#include "HostLink.h"
#include "ScriptedPrompts.h"
#include "TestProgramDir.h"
#include "app/FrmMain.h"
#include "drives/DriveUtilities.h"
#include "RecordingProgress.h"
#include "drives/platform/Platform.h"
#include "import/DiscImport.h"
#include "import/DiscVerification.h"
#include "import/Drvbtn.h"
#include "import/RowChecksums.h"
#include "store/CataloguedDiscs.h"
#include "store/FileChecksums.h"
#include "store/DateText.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/ErrorDialogPresenter.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// Acts on the modal dialog an action opens, while it is open.
void withModalDialog(QAction *action, const std::function<void(QWidget &)> &steps)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        ran = true;
        steps(*dialog);
        if (dialog->isVisible())
            dialog->close();
    });
    action->trigger();
    QVERIFY(ran);
}

// The catalogue's discs as "name|label|serial", and their files as
// "disc|folder|name|size|date", sorted.
QStringList query(const QString &catalogue, const QString &sql)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(catalogue);
        if (!db.open())
            return {u"cannot open "_s + catalogue};
        QSqlQuery q(db);
        q.exec(sql);
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields << q.value(i).toString();
            rows << fields.join(u'|');
        }
    }
    QSqlDatabase::removeDatabase(u"check"_s);
    rows.sort();
    return rows;
}
} // namespace

class TestRealImport : public QObject {
    Q_OBJECT

private slots:
    void importTheDiscInDriveD()
    {
        HostLink host;
        QVERIFY(host.isOpen());
        GuestDiscs discs;
        const QString image = discs.genisoimage(u"import.iso"_s, {u"-J"_s, u"-joliet-long"_s, u"-V"_s, u"导入测试盘"_s});
        QVERIFY2(!image.isEmpty(), qPrintable(discs.lastError()));
        QCOMPARE(host.ask(u"insert "_s + image), u"ok"_s);
        QTRY_VERIFY_WITH_TIMEOUT(IsDriveReady('d'), 20000);
        RDriveInfo drive;
        GetDriveInfo('d', drive);

        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        ErrorDialogPresenter presenter;
        TLCommFunction comm(&presenter);
        TLCommBusiness business(comm);
        ScriptedPrompts prompts;
        {
            TdmQL dm(dir.path(), comm, business);
            QVERIFY(dm.Connected());
            TfrmMain window(dm, comm, prompts);
            window.show();
            withModalDialog(window.findChild<QAction *>(u"actCDimp"_s), [](QWidget &dialog) {
                // Every file: the category whose mask is *.*.
                auto *categories = dialog.findChild<QComboBox *>(u"cbCatalog"_s);
                QVERIFY(categories);
                const int all = categories->findText(u"全部文件"_s);
                QVERIFY(all >= 0);
                categories->setCurrentIndex(all);
                emit categories->activated(all);
                TDrvbtn *driveD = nullptr;
                for (TDrvbtn *button : dialog.findChildren<TDrvbtn *>())
                    if (button->DrvName() == 'd')
                        driveD = button;
                QVERIFY(driveD);
                driveD->ImageButton->click();
                QCOMPARE(dialog.findChild<QLineEdit *>(u"edtDrvLabel"_s)->text(), u"导入测试盘"_s);
                dialog.findChild<QAction *>(u"actOk"_s)->trigger();
                QVERIFY(!dialog.isVisible());
            });
            window.close();
        }

        QCOMPARE(query(dir.catalogue(), u"Select DiskName, DiskLabel, DiskSerial From CdRomListMt"_s),
                 QStringList{u"导入测试盘|导入测试盘|"_s + drive.DiskSerial});
        QStringList expected;
        for (const GuestDiscs::File &file : GuestDiscs::files()) {
            const qsizetype slash = file.path.lastIndexOf(u'/');
            const QString folder = u"\\"_s + file.path.left(slash + 1).replace(u'/', u'\\');
            expected << u"%1|%2|%3|%4"_s.arg(folder, file.path.mid(slash + 1), QString::number(file.size),
                                             DateText::fromDateTime(file.time));
        }
        expected.sort();
        QCOMPARE(query(dir.catalogue(), u"Select FilePath, FileName, FileSize, FileData From CdRomListDt"_s), expected);
    }

    // The long file's third block fails to read: the import with checksums ends, marks that
    // file alone unreadable, and verify reports it alone, none of it waiting past the time
    // limits; drive and catalogue stay usable. Then an image with readme.txt altered (same
    // size and time) goes in: verify reports it as changed, by its checksum.
    void damagedAndAlteredDisc()
    {
        HostLink host;
        QVERIFY(host.isOpen());
        GuestDiscs discs;
        const QStringList options{u"-J"_s, u"-joliet-long"_s, u"-V"_s, u"DAMAGED"_s};
        const QString image = discs.genisoimage(u"damaged.iso"_s, options);
        QVERIFY2(!image.isEmpty(), qPrintable(discs.lastError()));
        const QString longName = GuestDiscs::files().at(5).path;
        const std::optional<char> local = Platform::instance().attachImage(image);
        QVERIFY(local);
        const qint64 at = Platform::instance().fileSource(*local)->position(longName);
        QVERIFY(at > 0);
        QStringList sectors;
        for (qint64 sector = at / 512 + 8; sector < at / 512 + 12; ++sector)
            sectors << QString::number(sector);
        QCOMPARE(host.ask(u"insert-damaged "_s + sectors.join(u',') + u' ' + image), u"ok"_s);
        QTRY_VERIFY_WITH_TIMEOUT(IsDriveReady('d'), 20000);

        TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
        ErrorDialogPresenter presenter;
        TLCommFunction comm(&presenter);
        TLCommBusiness business(comm);
        TdmQL dm(dir.path(), comm, business);
        QVERIFY(dm.Connected());
        RecordingProgress progress;
        ImportChecksums checksums{true};
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(DiscImport::run(dm, comm, 'd', u"d:\\"_s, {u"*.*"_s}, u"DAMAGED"_s, progress, {.checksums = &checksums}),
                 DiscImport::Result::Stored);
        // Each file is given up after 30 s and its size at a single-speed CD.
        const DigestLimits limits;
        QVERIFY2(clock.elapsed() < 2 * limits.perFile.count(), qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(checksums.unreadable, 1);
        const qint64 code = *CataloguedDiscs::codeOf(dm, u"DAMAGED"_s);
        QStringList unreadable;
        for (const FileChecksums::Entry &entry : FileChecksums::ofDisc(dm.aConQl.connectionName(), code))
            if (entry.digest.isEmpty())
                unreadable << entry.name;
        QCOMPARE(unreadable, QStringList{longName});

        clock.restart();
        const auto damaged = DiscVerification::run(dm, code, DriveRoot::ofDrive('d'), progress);
        QVERIFY(damaged);
        QVERIFY(clock.elapsed() < 2 * limits.perFile.count());
        QCOMPARE(damaged->counts.unreadable, 1);
        QCOMPARE(damaged->files.value(0).name, longName);
        QCOMPARE(damaged->counts.same, qint64(GuestDiscs::files().size() - 1));
        QVERIFY(IsDriveReady('d'));

        discs.alter(u"readme.txt"_s);
        const QString altered = discs.genisoimage(u"altered.iso"_s, options);
        QVERIFY2(!altered.isEmpty(), qPrintable(discs.lastError()));
        QCOMPARE(host.ask(u"insert "_s + altered), u"ok"_s);
        QTRY_VERIFY_WITH_TIMEOUT(IsDriveReady('d'), 20000);
        const auto changed = DiscVerification::run(dm, code, DriveRoot::ofDrive('d'), progress);
        QVERIFY(changed);
        QCOMPARE(changed->files.size(), 1);
        QCOMPARE(changed->files.value(0).kind, VerifiedFile::Kind::Changed);
        QCOMPARE(changed->files.value(0).name, u"readme.txt"_s);
    }
};

QTEST_MAIN(TestRealImport)
#include "tst_realimport.moc"
