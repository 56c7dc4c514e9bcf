// A user's day with the real main window on the system's drives: categories, a folder
// import, a CD import from an image in a virtual drive, browsing, sorting, searching,
// exporting, the tray of the virtual drive, deleting, closing and starting again.
#include "ScriptedPrompts.h"
#include "TestProgramDir.h"
#include "app/FrmMain.h"
#include "drives/DriveListView.h"
#include "drives/platform/Platform.h"
#include "import/DrvList.h"
#include "import/Drvbtn.h"
#include "import/ExtEdition.h"
#include "import/FolderTreeModel.h"
#include "search/FrmSearch.h"
#include "search/SearchListBox.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/ErrorDialogPresenter.h"
#include "ui/MyStatusBar.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, int size, const QDateTime &time)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(size, 'q'));
    f.close();
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
}

quint64 inodeOf(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

// Runs a modal step of the main window; the steps act on the dialog while it is open.
template <class Dialog> void withDialog(QAction *action, const std::function<void(Dialog &)> &steps)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        ran = true;
        steps(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    action->trigger();
    QVERIFY(ran);
}

// Opens the folder tree of the import dialog down to a native folder.
QModelIndex openFolder(TfrmExtEdition &dialog, const QString &nativePath)
{
    const auto location = Platform::instance().locate(nativePath);
    if (!location)
        return {};
    dialog.dcbDrive->setCurrentIndex(dialog.dcbDrive->findData(int(location->letter)));
    auto *model = qobject_cast<FolderTreeModel *>(dialog.dlbPath->model());
    QModelIndex at = model->index(0, 0);
    for (const QString &part : location->relativePath.split(u'/', Qt::SkipEmptyParts)) {
        if (model->canFetchMore(at))
            model->fetchMore(at);
        QModelIndex next;
        for (int row = 0; row < model->rowCount(at); ++row)
            if (model->index(row, 0, at).data().toString() == part)
                next = model->index(row, 0, at);
        if (!next.isValid())
            return {};
        at = next;
    }
    dialog.dlbPath->setCurrentIndex(at);
    return at;
}

} // namespace

class TestUserDay : public QObject {
    Q_OBJECT

private slots:
    void aDayWithQuillon()
    {
        if (QStandardPaths::findExecutable(u"genisoimage"_s).isEmpty())
            QFAIL("genisoimage is missing: scripts/setup.sh installs it");
        TestProgramDir dir(TestProgramDir::Catalogue::None);
        QCOMPARE(QProcess::execute(QStringLiteral(QUILLON_MKDB), {u"--empty"_s, dir.catalogue()}), 0);

        // A folder and a CD image, with known names, sizes and times.
        QTemporaryDir work;
        const QDateTime older(QDate(2023, 12, 31), QTime(22, 0, 0));
        const QDateTime newer(QDate(2024, 1, 2), QTime(8, 30, 0));
        const QString folder = work.filePath(u"我的 音乐"_s);
        writeFile(folder + u"/a.mp3"_s, 300, newer);
        writeFile(folder + u"/b.wav"_s, 20, older);
        writeFile(folder + u"/子目录/c.mp3"_s, 1000, older);
        writeFile(folder + u"/notes.txt"_s, 5, older);
        const QString tree = work.filePath(u"cd"_s);
        writeFile(tree + u"/歌曲一.mp3"_s, 4096, newer);
        writeFile(tree + u"/Live/现场.wav"_s, 100, older);
        writeFile(tree + u"/readme.txt"_s, 10, newer);
        const QString image = work.filePath(u"cd.iso"_s);
        QCOMPARE(QProcess::execute(u"genisoimage"_s, {u"-quiet"_s, u"-input-charset"_s, u"utf-8"_s, u"-J"_s,
                                                      u"-joliet-long"_s, u"-V"_s, u"MY_CD"_s, u"-o"_s, image, tree}),
                 0);
        const std::optional<char> cd = Platform::instance().attachImage(image);
        QVERIFY(cd);

        ErrorDialogPresenter presenter;
        TLCommFunction comm(&presenter);
        TLCommBusiness business(comm);
        ScriptedPrompts prompts;
        const quint64 inodeBefore = inodeOf(dir.catalogue());
        QStringList treeAtEnd;
        {
            TdmQL dm(dir.path(), comm, business);
            QVERIFY(dm.Connected());
            TfrmMain window(dm, comm, prompts);
            window.show();
            auto action = [&](const char *name) { return window.findChild<QAction *>(QLatin1StringView(name)); };
            auto rows = [&] { return window.lvDetail->rows(); };
            auto status = [&] { return window.MyStatusBar1->Panel7->text(); };
            auto node = [&](const QString &name) -> QTreeWidgetItem * {
                for (int i = 0; i < window.rootNode()->childCount(); ++i)
                    if (window.rootNode()->child(i)->text(0) == name)
                        return window.rootNode()->child(i);
                return nullptr;
            };

            // A category "音乐" with *.mp3 and *.wav.
            prompts.inputAnswers << u"音乐"_s << u"*.mp3"_s << u"*.wav"_s;
            withDialog<TfrmExtEdition>(action("actExtEdition"), [](TfrmExtEdition &editor) {
                editor.actAdd->trigger();
                editor.cbCatalog->setCurrentIndex(0);
                emit editor.cbCatalog->activated(0);
                editor.actDAdd->trigger();
                editor.actDAdd->trigger();
                QCOMPARE(editor.lbCatalog->count(), 2);
            });

            // Import the folder (mode 3).
            withDialog<TfrmExtEdition>(action("actDriverImp"), [&](TfrmExtEdition &dialog) {
                QVERIFY(openFolder(dialog, folder).isValid());
                dialog.Button4->click();
                QCOMPARE(dialog.rows()->rowCount(), 3);
                dialog.edtDrvLabel->setText(u"文件夹"_s);
                dialog.btnOk->click();
            });
            QVERIFY(node(u"文件夹"_s));

            // Import the CD in the virtual drive (mode 2); the name is the disc's label.
            auto clickCd = [&](TfrmExtEdition &dialog) {
                for (TDrvbtn *button : dialog.dlInfo->Buttons())
                    if (button->DrvName() == *cd)
                        button->ImageButton->click();
            };
            withDialog<TfrmExtEdition>(action("actCDimp"), [&](TfrmExtEdition &dialog) {
                clickCd(dialog);
                QCOMPARE(dialog.edtDrvLabel->text(), u"MY_CD"_s);
                QCOMPARE(dialog.rows()->rowCount(), 2);
                dialog.btnOk->click();
            });
            QVERIFY(node(u"MY_CD"_s));

            // The same name again is refused; the dialog says the disc is catalogued.
            withDialog<TfrmExtEdition>(action("actCDimp"), [&](TfrmExtEdition &dialog) {
                clickCd(dialog);
                QCOMPARE(dialog.lblCatalogued->text(), u"此光盘已在索引库中：MY_CD"_s);
                dialog.edtDrvLabel->setText(u"my_cd"_s);
                dialog.btnOk->click();
                QVERIFY(dialog.isVisible());
                QCOMPARE(prompts.calls.last().text, u"光盘索引库中已经有该名称的光盘了!"_s);
            });
            QCOMPARE(window.rootNode()->childCount(), 2);

            // Each disc lists exactly its files.
            window.tvCdIndex->setCurrentItem(node(u"文件夹"_s));
            QCOMPARE(status(), u"共读入:3条记录"_s);
            QStringList listed;
            for (const FileRow &row : rows()->allRows())
                listed << row.sub[3] + row.sub[0] + u' ' + row.sub[1];
            const QString base = u"\\"_s + Platform::instance().locate(folder)->relativePath.replace(u'/', u'\\');
            QCOMPARE(listed,
                     (QStringList{base + u"\\子目录\\c.mp3 1000"_s, base + u"\\a.mp3 300"_s, base + u"\\b.wav 20"_s}));
            window.tvCdIndex->setCurrentItem(node(u"MY_CD"_s));
            QCOMPARE(status(), u"共读入:2条记录"_s);
            QCOMPARE(rows()->row(0).sub[0], u"现场.wav"_s);
            QCOMPARE(rows()->row(0).sub[3], u"\\Live\\"_s);
            QCOMPARE(rows()->row(1).sub[0], u"歌曲一.mp3"_s);
            QCOMPARE(rows()->row(1).sub[1], u"4096"_s);

            // Sort by size, then by time.
            window.tvCdIndex->setCurrentItem(node(u"文件夹"_s));
            emit window.lvDetail->header()->sectionClicked(2);
            QCOMPARE(rows()->row(0).sub[1], u"20"_s);
            QCOMPARE(rows()->row(2).sub[1], u"1000"_s);
            // The folder's files carry their creation times (this file system's birth times).
            emit window.lvDetail->header()->sectionClicked(3);
            for (int i = 1; i < rows()->rowCount(); ++i)
                QVERIFY(rows()->row(i - 1).sub[2] <= rows()->row(i).sub[2]);

            // Search "*.mp3" in file names and paths.
            withDialog<TfrmSearch>(action("actFind"), [](TfrmSearch &search) {
                search.edtQlSearch->setText(u"*.mp3"_s);
                search.slbQL->item(3)->setCheckState(Qt::Checked);
                search.btnFind->click();
            });
            QCOMPARE(status(), u"共查到:3条记录"_s);
            QStringList found;
            for (const FileRow &row : rows()->allRows())
                found << row.caption + u':' + row.sub[0];
            found.sort();
            QCOMPARE(found, (QStringList{u"MY_CD:歌曲一.mp3"_s, u"文件夹:a.mp3"_s, u"文件夹:c.mp3"_s}));

            // Export what the list shows, sorted by name; the header carries no sort mark.
            emit window.lvDetail->header()->sectionClicked(1);
            const QString exported = work.filePath(u"导出.Txt"_s);
            prompts.saveAnswers << exported;
            action("actCDexpASC")->trigger();
            QFile file(exported);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY(bytes.startsWith(QByteArray("\xB9\xE2\xC5\xCC\xC3\xFB\t\xCE\xC4\xBC\xFE\xC3\xFB\t")));
            QCOMPARE(bytes.count("\r\n"), 4);
            QVERIFY(bytes.contains("a.mp3\t300\t"));
            QCOMPARE(status(), u"共导出3条记录"_s);

            // Eject and close the virtual drive: its row animates out and in again.
            TDriveListView *drives = window.dlvStatus;
            const int row = int(drives->DriveCodes().indexOf(QString::number(int(*cd))));
            QVERIFY(row >= 0);
            QCOMPARE(drives->topLevelItem(row)->text(1), u"MY_CD"_s);
            drives->clearSelection();
            drives->topLevelItem(row)->setSelected(true);
            action("actOpenCd")->trigger();
            QTRY_COMPARE(drives->AnimState().at(row), 1);
            QCOMPARE(drives->topLevelItem(row)->text(1), QString());
            for (int i = 0; i < 4; ++i)
                drives->AnimTick();
            QCOMPARE(drives->rowImage(row), 4);
            action("actAllClose")->trigger();
            QTRY_COMPARE(drives->AnimState().at(row), -1);
            for (int i = 0; i < 9; ++i)
                drives->AnimTick();
            QCOMPARE(drives->rowImage(row), 0);
            QCOMPARE(drives->topLevelItem(row)->text(1), u"MY_CD"_s);
            QCOMPARE(drives->topLevelItem(row)->text(3), u"MY_CD"_s);

            // Delete the folder's disc.
            window.tvCdIndex->setCurrentItem(node(u"文件夹"_s));
            prompts.confirmAnswers << true;
            action("actDel")->trigger();
            QVERIFY(!node(u"文件夹"_s));
            for (int i = 0; i < window.rootNode()->childCount(); ++i)
                treeAtEnd << window.rootNode()->child(i)->text(0);
            window.close();
        }
        // Deleting one small disc frees too little to be worth compacting: closing leaves the
        // file as it is; a new start shows the same tree.
        QVERIFY(inodeOf(dir.catalogue()) == inodeBefore);
        QVERIFY(!dir.compactionLeftBehind());
        TdmQL dm(dir.path(), comm, business);
        TfrmMain again(dm, comm, prompts);
        again.show();
        QStringList names;
        for (int i = 0; i < again.rootNode()->childCount(); ++i)
            names << again.rootNode()->child(i)->text(0);
        QCOMPARE(names, treeAtEnd);
        QCOMPARE(names, QStringList{u"MY_CD"_s});
        // The image's disc, still in its virtual drive, is recognised and leads to its files.
        const int row = int(again.dlvStatus->DriveCodes().indexOf(QString::number(int(*cd))));
        QCOMPARE(again.dlvStatus->topLevelItem(row)->text(3), u"MY_CD"_s);
        emit again.dlvStatus->itemDoubleClicked(again.dlvStatus->topLevelItem(row), 0);
        QCOMPARE(again.tvCdIndex->currentItem()->text(0), u"MY_CD"_s);
        QCOMPARE(again.lvDetail->rows()->rowCount(), 2);
    }
};

QTEST_MAIN(TestUserDay)
#include "tst_userday.moc"
