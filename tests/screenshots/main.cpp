// quillon-screenshots OUTPUT_DIR
// Renders every window of the program with realistic data into PNG files, for a look
// and for the manual: the main window (discs, files, drive list; a search result), the
// import dialog in both modes, the category editor, the search dialog, 副本统计, 校验光盘 and the
// discs to check, the error dialog collapsed and expanded, the about box, and the 13 frames of
// the drive list. Every window is drawn in Chinese and again in English (the files suffixed _en).
#include "CatalogueFixture.h"
#include "FakePlatform.h"
#include "RecordingProgress.h"
#include "ScriptedPrompts.h"
#include "TestProgramDir.h"
#include "app/AboutBox.h"
#include "app/DiscPropertiesDialog.h"
#include "app/DiscShelf.h"
#include "app/DueDiscsDialog.h"
#include "app/VerifyDialog.h"
#include "app/LentDiscsDialog.h"
#include "app/FrmMain.h"
#include "drives/DriveListView.h"
#include "drives/StatusFrames.h"
#include "drives/platform/PlatformOverride.h"
#include "import/DiscDifferenceDialog.h"
#include "import/DiscImport.h"
#include "import/DiscUpdate.h"
#include "import/DrvList.h"
#include "import/Drvbtn.h"
#include "import/ExtEdition.h"
#include "language/Language.h"
#include "search/FrmCopies.h"
#include "ui/MyStatusBar.h"
#include "ui/StatusProgress.h"
#include "search/FrmSearch.h"
#include "search/SearchController.h"
#include "search/SearchListBox.h"
#include "store/Catalogue.h"
#include "store/DiscChange.h"
#include "store/DiscVerifications.h"
#include "store/ImportRecord.h"
#include "store/LCommBusiness.h"
#include "ui/ErrorDialogPresenter.h"
#include "ui/FrmErrorShow.h"
#include "ui/MyStatusBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QString g_out;
QString g_suffix; // after each file's name: empty for Chinese, "_en" for English

void save(QWidget &widget, const QString &name)
{
    QCoreApplication::processEvents();
    widget.grab().save(g_out + u'/' + name + g_suffix + u".png"_s);
}

struct Disc {
    QString name;
    QString label;
    QStringList files; // "path|name|size|date"
};

const QList<Disc> kDiscs{
    {u"周杰伦 - 范特西"_s,
     u"FANTASY"_s,
     {u"\\|爱在西元前.mp3|5012345|2001-09-14 10:21:05"_s, u"\\|简单爱.mp3|4712345|2001-09-14 10:23:40"_s,
      u"\\|双截棍.mp3|4812345|2001-09-14 10:25:11"_s, u"\\伴奏\\|开不了口 伴奏.wav|41234567|2001-09-14"_s}},
    {u"Beatles Collection"_s,
     u"BEATLES"_s,
     {u"\\Abbey Road\\|Come Together.mp3|6234567|1969-09-26 00:00:01"_s,
      u"\\Abbey Road\\|Something.mp3|4434567|1969-09-26 00:03:04"_s,
      u"\\Let It Be\\|Let It Be.flac|31234567|1970-05-08"_s}},
    {u"家庭照片 2019"_s, u"PHOTO2019"_s, {u"\\春节\\|IMG_0001.jpg|2345678|2019-02-05 09:12:44"_s}},
    {u"古典音乐精选"_s, u"CLASSIC"_s, {u"\\贝多芬\\|第五交响曲.ape|312345678|2003-03-01 20:00:00"_s}},
    // The disc in drive D:, catalogued before: the drive list recognises it.
    {u"我的音乐 2024"_s, u"MUSIC_2024"_s, {u"\\音乐\\|01 序曲.mp3|4096|2024-05-01 12:00:00"_s}},
};

// Where two discs are kept, one lent out, and how the first was imported.
void fillDetails(const QString &connection, int fantasy, int photos)
{
    ImportRecord record;
    record.importedAt = u"2024-03-02 19:40:12"_s;
    record.category = u"音乐"_s;
    record.masks = {u"*.mp3"_s, u"*.wav"_s, u"*.wma"_s, u"*.flac"_s, u"*.ape"_s};
    record.letter = u"D"_s;
    record.label = u"FANTASY"_s;
    record.serial = u"3A1F22C0"_s;
    record.options.insert(u"fileTime"_s, u"created"_s);
    ImportRecordStore::write(connection, fantasy, record);
    DiscChange keep;
    keep.location = u"书房 柜2 第3格"_s;
    keep.note = u"2001 年原版 CD，封套有签名。"_s;
    keep.keywords = u"周杰伦, 流行 原版"_s;
    keep.lendTo = u"王小明"_s;
    keep.lentOn = u"2024-05-18"_s;
    DiscChangeStore::apply(connection, fantasy, keep);
    DiscChange photo;
    photo.location = u"客厅 电视柜 左"_s;
    photo.lendTo = u"李华"_s;
    photo.lentOn = u"2023-11-02"_s;
    DiscChangeStore::apply(connection, photos, photo);
}

void fillCatalogue(TdmQL &dm, TLCommFunction &comm)
{
    CatalogueFixture data(dm, comm);
    QList<int> codes;
    for (const Disc &disc : kDiscs) {
        const int code = data.addDisc(disc.name, disc.label, u"3A1F22C0"_s);
        codes.append(code);
        for (const QString &file : disc.files) {
            const QStringList f = file.split(u'|');
            data.addFile(code, f[1], f[2], f[3], f[0]);
        }
    }
    fillDetails(dm.aConQl.connectionName(), codes.at(0), codes.at(2));
}

void fillDrive(FakePlatform &platform, char letter, const QString &label)
{
    FakePlatform::Drive &drive = platform.addDrive(letter, DriveTypes::CdRom);
    drive.volume.label = label;
    drive.volume.serial = 0x3A1F22C0;
    for (const QString &name : {u"01 序曲.mp3"_s, u"02 Yesterday.mp3"_s, u"03 月光.wav"_s, u"说明.txt"_s}) {
        QDir().mkpath(drive.root + u"/音乐"_s);
        QFile f(drive.root + u"/音乐/"_s + name);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(4096, 'x'));
    }
    // An archive of songs beside them, for the import that includes the files inside archives.
    QDir().mkpath(drive.root + u"/旧歌/2004"_s);
    for (const QString &name : {u"旧歌/2004/童年.mp3"_s, u"旧歌/2004/Let It Be.mp3"_s}) {
        QFile f(drive.root + u'/' + name);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(5000, 'y'));
    }
    QProcess zip;
    zip.setWorkingDirectory(drive.root);
    zip.start(u"zip"_s, {u"-qrm"_s, u"音乐/旧歌.zip"_s, u"旧歌"_s});
    zip.waitForFinished();
    QDir(drive.root + u"/旧歌"_s).removeRecursively();
}

QTreeWidgetItem *discNode(TfrmMain &window, const QString &name)
{
    for (int i = 0; i < window.rootNode()->childCount(); ++i)
        if (window.rootNode()->child(i)->text(0) == name)
            return window.rootNode()->child(i);
    return nullptr;
}

// 校验光盘 of the disc in drive D: (its files read again: two new, one changed in time, one
// gone), the tree's marks once two other discs were verified, and the discs to check.
void verification(TdmQL &dm, TfrmMain &window)
{
    const QString connection = dm.aConQl.connectionName();
    const qint64 code = dm.catalogue().discNamed(u"我的音乐 2024"_s)->code;
    static bool verified = false;
    if (!verified) {
        ImportRecord record;
        record.importedAt = u"2024-05-01 12:30:00"_s;
        record.category = u"音乐"_s;
        record.masks = {u"*.mp3"_s, u"*.wav"_s};
        record.label = u"MUSIC_2024"_s;
        record.serial = u"3A1F22C0"_s;
        ImportRecordStore::write(connection, code, record);
        Verification whole;
        whole.verifiedAt = u"2025-11-20 21:05:33"_s;
        whole.same = 3;
        DiscVerificationStore::record(connection, dm.catalogue().discNamed(u"Beatles Collection"_s)->code, whole);
        whole.verifiedAt = u"2023-02-11 10:15:00"_s;
        whole.same = 1;
        DiscVerificationStore::record(connection, dm.catalogue().discNamed(u"古典音乐精选"_s)->code, whole);
        verified = true;
    }
    RecordingProgress progress;
    const auto outcome = DiscVerification::run(dm, code, DriveRoot::ofDrive('d'), progress);
    static bool kept = false;
    if (!std::exchange(kept, true))
        DiscVerificationStore::record(connection, code, outcome->counts);
    {
        TfrmVerify result(u"我的音乐 2024"_s, *outcome, &window);
        result.show();
        save(result, u"verify"_s);
    }
    window.shelf().refresh();
    window.tvCdIndex->setCurrentItem(discNode(window, u"Beatles Collection"_s));
    save(window, u"main-verified"_s);
    TfrmDueDiscs due(connection, &window);
    due.show();
    save(due, u"due-discs"_s);
}

void mainWindows(TdmQL &dm, TLCommFunction &comm, Prompts &prompts)
{
    TfrmMain window(dm, comm, prompts);
    window.show();
    window.setWindowState(Qt::WindowNoState);
    window.resize(1032, 713);
    window.tvCdIndex->setCurrentItem(discNode(window, u"周杰伦 - 范特西"_s));
    window.dlvStatus->topLevelItem(0)->setSelected(true);
    save(window, u"main-window"_s);

    TQuery &query = *dm.aqryQuery;
    const QStringList statement = query.SQL();
    query.SQL() << u" where "_s << u" (UCase(FileName) like ? escape '\\') "_s;
    query.Params() = {u"%MP3%"_s};
    query.Open();
    window.search().ShowQueryResult(query);
    query.Close();
    query.SQL() = statement;
    save(window, u"main-search-result"_s);

    window.edtDiscFilter->setText(u"sf"_s);
    window.tvCdIndex->setCurrentItem(discNode(window, u"周杰伦 - 范特西"_s));
    save(window, u"main-disc-filter"_s);
    window.edtDiscFilter->clear();

    const int code = dm.aqryCdRomListMt->Locate(u"DiskName"_s, u"周杰伦 - 范特西"_s)
                         ? int(dm.aqryCdRomListMt->FieldByName(u"DiskCode"_s).AsInteger())
                         : 0;
    {
        TfrmDiscProperties properties(dm.aConQl.connectionName(), code, prompts, false, &window);
        properties.show();
        save(properties, u"disc-properties"_s);
    }
    {
        TfrmLentDiscs lent(DiscLendingStore::lentDiscs(dm.aConQl.connectionName()), &window);
        lent.show();
        save(lent, u"lent-discs"_s);
    }
    verification(dm, window);
}

void dialogs(TdmQL &dm, TLCommFunction &comm, Prompts &prompts)
{
    {
        TfrmExtEdition editor(dm, comm, prompts);
        editor.SetMode(1);
        editor.show();
        save(editor, u"ext-edition"_s);
    }
    {
        TfrmExtEdition disc(dm, comm, prompts);
        disc.SetMode(2);
        disc.show();
        disc.dlInfo->Buttons().first()->ImageButton->click();
        save(disc, u"import-disc"_s);
    }
    {
        TfrmExtEdition folder(dm, comm, prompts);
        folder.SetMode(3);
        folder.show();
        folder.dcbDrive->setCurrentIndex(folder.dcbDrive->findData(int('d')));
        const QModelIndex root = folder.dlbPath->model()->index(0, 0);
        folder.dlbPath->expand(root);
        folder.dlbPath->setCurrentIndex(folder.dlbPath->model()->index(0, 0, root));
        folder.Button4->click();
        folder.edtDrvLabel->setText(u"我的音乐"_s);
        save(folder, u"import-folder"_s);
        // The same with the files inside archives; the choice the user had is kept.
        const bool chosen = folder.chkArchives->isChecked();
        folder.chkArchives->setChecked(true);
        folder.Button4->click();
        save(folder, u"import-archives"_s);
        folder.chkArchives->setChecked(chosen);
    }
    {
        TfrmSearch search(*dm.aqryQuery, dm.catalogue(), prompts);
        search.show();
        search.edtQlSearch->setText(u"*.mp3"_s);
        search.slbQL->SetItemChecked(3, true);
        save(search, u"search-dialog"_s);
        search.slbQL->SetItemChecked(3, false);
        search.edtQlSearch->setText(u"zjl"_s);
        search.chkPinyin->setChecked(true);
        save(search, u"search-pinyin"_s);
        search.chkPinyin->setChecked(false);
    }
    {
        TfrmErrorShow error;
        // The texts the catalogue's own error gives, in the interface's language.
        error.Fill(QCoreApplication::translate("TLCommBusiness", "数据操作失败"),
                   QCoreApplication::translate("TLCommBusiness", "系统提示：") + u"\r  FOREIGN KEY constraint failed"_s,
                   QString());
        error.show();
        save(error, u"error-collapsed"_s);
        error.bbtnDetailClick();
        save(error, u"error-expanded"_s);
    }
    {
        // A backup disc holding two of the catalogue's files, for 副本统计.
        static bool backedUp = false;
        if (!backedUp) {
            CatalogueFixture data(dm, comm);
            const int code = data.addDisc(u"备份 2024"_s, u"BACKUP"_s, u"5B20C1D0"_s);
            data.addFile(code, u"爱在西元前.mp3"_s, u"5012345"_s, u"2001-09-14 10:21:05"_s, u"\\周杰伦\\"_s);
            data.addFile(code, u"IMG_0001.jpg"_s, u"2345678"_s, u"2019-02-05 09:12:44"_s, u"\\照片\\"_s);
            backedUp = true;
        }
        TfrmCopies copies(dm.aConQl.connectionName(), std::nullopt);
        copies.show();
        TMyStatusBar statusBar;
        StatusProgress progress(statusBar);
        copies.fill(progress);
        save(copies, u"copies"_s);
        copies.pcCopies->setCurrentIndex(2);
        save(copies, u"copies-duplicates"_s);
    }
    {
        TAboutBox about(prompts);
        about.show();
        save(about, u"about-box"_s);
    }
}

// A folder of an external disk imported last month, with files added, removed and
// changed since: the difference 更新 shows.
void writeFile(const QString &path, qsizetype size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray(size, 'x'));
}

qint64 importChangedFolder(TdmQL &dm, TLCommFunction &comm, FakePlatform &platform)
{
    const QString root = platform.drive('c').root + u"/照片"_s;
    for (const QString &name : {u"春节/IMG_0001.jpg"_s, u"春节/IMG_0002.jpg"_s, u"旅行/桂林 01.jpg"_s,
                                u"旅行/桂林 02.jpg"_s, u"说明.txt"_s})
        writeFile(root + u'/' + name, 2345678);
    RecordingProgress progress;
    DiscImport::run(dm, comm, 'c', u"c:\\照片"_s, {u"*.*"_s}, u"移动硬盘 照片"_s, progress,
                    {ScanTime::Modified, nullptr, ImportRecord::Source::Folder, u"全部文件"_s});
    QFile::remove(root + u"/春节/IMG_0002.jpg"_s);
    writeFile(root + u"/说明.txt"_s, 4096);
    for (const QString &name : {u"旅行/桂林 03.jpg"_s, u"旅行/阳朔 01.jpg"_s, u"2024/IMG_1001.jpg"_s})
        writeFile(root + u'/' + name, 3456789);
    return dm.catalogue().discNamed(u"移动硬盘 照片"_s)->code;
}

void updateDifference(TdmQL &dm, qint64 code)
{
    DiscUpdate update(dm, code);
    RecordingProgress progress;
    update.prepare(progress);
    TfrmDiscDifference dialog(u"移动硬盘 照片"_s, update);
    dialog.show();
    save(dialog, u"update-difference"_s);
}

void useLanguage(Language language)
{
    InterfaceLanguage::apply(language);
    g_suffix = language == Language::English ? u"_en"_s : QString();
}

void frames()
{
    QPixmap strip(13 * 40, 40);
    strip.fill(Qt::white);
    QPainter p(&strip);
    for (int i = 0; i < StatusFrames::Count; ++i)
        p.drawPixmap(i * 40 + 4, 4, StatusFrames::frame(i, 32));
    p.end();
    strip.save(g_out + u"/status-frames.png"_s);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (QCoreApplication::arguments().size() < 2)
        return 2;
    g_out = QDir(QCoreApplication::arguments().at(1)).absolutePath();
    QDir().mkpath(g_out);

    FakePlatform platform;
    PlatformOverride use(platform);
    platform.addDrive('c');
    fillDrive(platform, 'd', u"MUSIC_2024"_s);
    platform.addDrive('e', DriveTypes::CdRom).ready = false;

    TestProgramDir dir(TestProgramDir::Catalogue::WithCategories);
    ErrorDialogPresenter presenter;
    TLCommFunction comm(&presenter);
    TLCommBusiness business(comm);
    ScriptedPrompts prompts;
    TdmQL dm(dir.path(), comm, business);
    fillCatalogue(dm, comm);
    for (const Language language : {Language::Chinese, Language::English}) {
        useLanguage(language);
        mainWindows(dm, comm, prompts);
        dialogs(dm, comm, prompts);
    }
    // After the main window's pictures, which show the catalogue without it.
    const qint64 updated = importChangedFolder(dm, comm, platform);
    for (const Language language : {Language::Chinese, Language::English}) {
        useLanguage(language);
        updateDifference(dm, updated);
    }
    frames();
    return 0;
}
