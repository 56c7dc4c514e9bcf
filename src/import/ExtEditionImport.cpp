// The import side of the category dialog: disc import (mode 2) and folder import
// (mode 3). A scan fills the file list; "确定" checks the name.
#include "ExtEdition.h"

#include "ArchiveProbe.h"
#include "DiscImport.h"
#include "DrvList.h"
#include "FolderTreeModel.h"
#include "ImportRecordOf.h"
#include "ScanFiles.h"
#include "categories/CategoryChooser.h"
#include "drives/DriveUtilities.h"
#include "drives/platform/Platform.h"
#include "store/CataloguedDiscs.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommFunction.h"
#include "ui/ActionButton.h"
#include "ui/ActionGuard.h"
#include "ui/Icons.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTreeView>
#include <QVBoxLayout>
#include <QtDebug>

using namespace Qt::StringLiterals;

namespace {

constexpr int kImportWidthExtra = 238 + 33;
const QList<int> kListWidths{131, 82, 153, 187};
constexpr int kImportHeight = 468;
constexpr int kNameHeight = 57;
constexpr int kBarTop = 12;
constexpr int kBarBottomMargin = 5;

QFrame *importPanel(QWidget *parent, const QString &name, int height = -1)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    if (height >= 0)
        frame->setFixedHeight(height);
    frame->hide();
    return frame;
}

} // namespace

// The texts of the import side; the list's hidden fifth column has no caption.
void TfrmExtEdition::retranslateImport()
{
    actOk->setText(tr("确定"));
    actCancel->setText(tr("取消"));
    actDriveImp->setText(tr("导入"));
    Label3->setText(Mode == 3 ? tr("导入名称：") : tr("光盘名:"));
    Label3->resize(203, Label3->sizeHint().height());
    lblFileTime->setText(tr("文件时间："));
    chkChecksums->setText(tr("计算校验值"));
    cbFileTime->setItemText(0, tr("创建时间"));
    cbFileTime->setItemText(1, tr("修改时间"));
    chkArchives->setText(tr("包括压缩文件中的文件"));
    retranslateHints();
    lvDetail->rows()->setHeaderCaptions({tr("名称"), tr("大小"), tr("时间"), tr("路径")});
    if (lblCatalogued->isVisibleTo(this))
        showCatalogued();
}

void TfrmExtEdition::createImportActions()
{
    actOk = new QAction(this);
    actOk->setObjectName(u"actOk"_s);
    actCancel = new QAction(this);
    actCancel->setObjectName(u"actCancel"_s);
    actDriveImp = new QAction(this);
    actDriveImp->setObjectName(u"actDriveImp"_s);
    connect(actOk, &QAction::triggered, this, [this] { guarded([this] { actOkExecute(); }); });
    connect(actCancel, &QAction::triggered, this, [this] { guarded([this] { actCancelExecute(); }); });
    connect(actDriveImp, &QAction::triggered, this, [this] { guarded([this] { actDriveImpExecute(); }); });
}

QFrame *TfrmExtEdition::createNamePanel(QWidget *parent)
{
    pnlName = importPanel(parent, u"pnlName"_s, kNameHeight);
    Label3 = new QLabel(pnlName);
    Label3->setObjectName(u"Label3"_s);
    Label3->move(15, 7);
    edtDrvLabel = new QLineEdit(pnlName);
    edtDrvLabel->setObjectName(u"edtDrvLabel"_s);
    edtDrvLabel->setGeometry(16, 30, 203, edtDrvLabel->sizeHint().height());
    lblCatalogued = new QLabel(pnlName);
    lblCatalogued->setObjectName(u"lblCatalogued"_s);
    lblCatalogued->setWordWrap(true);
    lblCatalogued->hide();
    return pnlName;
}

// Under the name: the catalogued discs that the scanned disc already is, if any. A disc
// may be catalogued twice, so this only informs.
void TfrmExtEdition::showCatalogued()
{
    const QStringList names = CataloguedDiscs::names(m_dm, DriveInfo.DiskLabel, DriveInfo.DiskSerial);
    const int top = edtDrvLabel->geometry().bottom() + 4;
    if (names.isEmpty()) {
        lblCatalogued->hide();
        pnlName->setFixedHeight(kNameHeight);
        return;
    }
    lblCatalogued->setText(tr("此光盘已在索引库中：%1").arg(CataloguedDiscs::joined(names)));
    lblCatalogued->setGeometry(16, top, 203, lblCatalogued->heightForWidth(203));
    lblCatalogued->show();
    pnlName->setFixedHeight(std::max(kNameHeight, lblCatalogued->geometry().bottom() + 4));
}

QFrame *TfrmExtEdition::createDrivePanel(QWidget *parent)
{
    pnlDrives = importPanel(parent, u"pnlDrives"_s);
    dlInfo = new TDrvList(pnlDrives);
    dlInfo->setObjectName(u"dlInfo"_s);
    dlInfo->setGeometry(16, kBarTop, 203, 219);
    QPalette palette = dlInfo->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    dlInfo->setPalette(palette);
    dlInfo->setGlyph(Icons::ilQl(0).pixmap(32, 32));
    connect(dlInfo, &TDrvList::OnDrvClick, this,
            [this](QObject *sender, char letter) { guarded([=, this] { dlInfoDrvClick(sender, letter); }); });
    pnlDrives->installEventFilter(this);
    return pnlDrives;
}

QFrame *TfrmExtEdition::createFolderPanel(QWidget *parent)
{
    pnlFolder = importPanel(parent, u"pnlFolder"_s);
    dcbDrive = new QComboBox(pnlFolder);
    dcbDrive->setObjectName(u"dcbDrive"_s);
    dcbDrive->setGeometry(16, 15, 204, dcbDrive->sizeHint().height());
    m_folders = new FolderTreeModel(this);
    dlbPath = new QTreeView(pnlFolder);
    dlbPath->setObjectName(u"dlbPath"_s);
    dlbPath->setModel(m_folders);
    dlbPath->setHeaderHidden(true);
    dlbPath->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dlbPath->setGeometry(16, 46, 203, 186);
    lblFileTime = new QLabel(pnlFolder);
    lblFileTime->setObjectName(u"lblFileTime"_s);
    lblFileTime->setGeometry(16, 236, 70, 22);
    cbFileTime = new QComboBox(pnlFolder);
    cbFileTime->setObjectName(u"cbFileTime"_s);
    cbFileTime->setGeometry(86, 236, 133, 22);
    cbFileTime->addItem(QString(), int(ScanTime::Created));
    cbFileTime->addItem(QString(), int(ScanTime::Modified));
    cbFileTime->setCurrentIndex(DiscImport::savedFolderTime() == ScanTime::Modified ? 1 : 0);
    connect(cbFileTime, &QComboBox::activated, this,
            [this] { DiscImport::saveFolderTime(ScanTime(cbFileTime->currentData().toInt())); });
    Button4 = new ActionButton(actDriveImp, pnlFolder);
    Button4->setObjectName(u"Button4"_s);
    Button4->setGeometry(17, 261, 201, 25);
    Button4->setAutoDefault(false);
    connect(dcbDrive, &QComboBox::currentIndexChanged, this, [this] { guarded([this] { dcbDriveChange(); }); });
    return pnlFolder;
}

QFrame *TfrmExtEdition::createOkPanel(QWidget *parent)
{
    pnlOk = importPanel(parent, u"pnlOk"_s, 41);
    btnOk = new ActionButton(actOk, pnlOk);
    btnOk->setObjectName(u"btnOk"_s);
    btnOk->setGeometry(30, 7, 70, 28);
    btnOk->setDefault(true);
    BitBtn2 = new ActionButton(actCancel, pnlOk);
    BitBtn2->setObjectName(u"BitBtn2"_s);
    BitBtn2->setGeometry(119, 7, 70, 28);
    BitBtn2->setAutoDefault(false);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtn2->setIconSize(QSize(18, 18));
    return pnlOk;
}

// Off at first; the choice is kept for the next import.
QFrame *TfrmExtEdition::createChecksumPanel(QWidget *parent)
{
    pnlChecksums = importPanel(parent, u"pnlChecksums"_s, 26);
    chkChecksums = new QCheckBox(pnlChecksums);
    chkChecksums->setObjectName(u"chkChecksums"_s);
    chkChecksums->setGeometry(16, 2, 203, 22);
    chkChecksums->setChecked(DiscImport::savedChecksums());
    connect(chkChecksums, &QCheckBox::toggled, this, [](bool on) { DiscImport::saveChecksums(on); });
    return pnlChecksums;
}

// Lined up with the panels' widgets above it.
QWidget *TfrmExtEdition::createArchivesBox(QWidget *parent)
{
    auto *frame = new QWidget(parent);
    chkArchives = new QCheckBox(frame);
    chkArchives->setObjectName(u"chkArchives"_s);
    chkArchives->setChecked(DiscImport::savedArchives());
    connect(chkArchives, &QCheckBox::toggled, this, [](bool on) { DiscImport::saveArchives(on); });
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(16, 2, 0, 2);
    layout->addWidget(chkArchives);
    return frame;
}

QFrame *TfrmExtEdition::createListPanel()
{
    pnlList = importPanel(this, u"pnlList"_s);
    lvDetail = new TSortableListView(pnlList);
    lvDetail->setObjectName(u"lvDetail"_s);
    lvDetail->header()->setSectionsClickable(false);
    lvDetail->setColumns(QStringList(4, QString()), kListWidths);
    lvDetail->setColumnHidden(4, true);
    auto *layout = new QVBoxLayout(pnlList);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvDetail);
    return pnlList;
}

void TfrmExtEdition::createImportPanels(QVBoxLayout *column, QHBoxLayout *layout)
{
    column->addWidget(createNamePanel(pnlLeft));
    column->addWidget(createDrivePanel(pnlLeft), 1);
    column->addWidget(createFolderPanel(pnlLeft), 1);
    column->addWidget(createChecksumPanel(pnlLeft));
    column->addWidget(createArchivesBox(pnlLeft));
    column->addWidget(createHintLabel(pnlLeft));
    column->addWidget(createOkPanel(pnlLeft));
    layout->addWidget(createListPanel(), 1);
}

FileRowModel *TfrmExtEdition::rows() const
{
    return lvDetail->rows();
}

QString TfrmExtEdition::GetDiscName() const
{
    return edtDrvLabel->text();
}

void TfrmExtEdition::SetImportMode(int m)
{
    retranslateUi();
    mmExt->hide();
    layout()->setMenuBar(nullptr);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    for (QWidget *editorSide : {static_cast<QWidget *>(pnlMask), static_cast<QWidget *>(pnlMaskButtons)})
        editorSide->hide();
    for (QWidget *importSide : {pnlName, pnlChecksums, pnlOk, pnlList})
        importSide->show();
    pnlDrives->setVisible(m == 2);
    pnlFolder->setVisible(m == 3);
    int width = kImportWidthExtra;
    for (int w : kListWidths)
        width += w;
    setMinimumSize(400, 300);
    resize(width, kImportHeight);
    dlInfo->setActive(true);
    if (m == 2 && dlInfo->Buttons().isEmpty())
        showNoDrives();
    if (m == 3)
        fillDrives();
    centreOnScreen();
}

void TfrmExtEdition::fitDriveBar()
{
    dlInfo->resize(dlInfo->width(), qMax(0, pnlDrives->height() - kBarTop - kBarBottomMargin));
}

// Every drive with its label, or where it is mounted when it has none.
void TfrmExtEdition::fillDrives()
{
    Platform &platform = Platform::instance();
    dcbDrive->clear();
    for (char letter : platform.letters()) {
        const auto volume = platform.volumeInformation(letter);
        QString detail = volume && !volume->label.isEmpty() ? volume->label : platform.nativeRoot(letter);
        dcbDrive->addItem(u"%1: %2"_s.arg(QChar(char16_t(letter)), detail).trimmed(), int(letter));
    }
    dcbDriveChange();
}

void TfrmExtEdition::dcbDriveChange()
{
    const char letter = char(dcbDrive->currentData().toInt());
    m_folders->setDrive(letter);
    const QModelIndex root = m_folders->index(0, 0);
    if (root.isValid()) {
        dlbPath->expand(root);
        dlbPath->setCurrentIndex(root);
    }
}

// While a scan runs only "取消" stays usable.
void TfrmExtEdition::setScanning(bool scanning)
{
    for (QWidget *widget :
         {static_cast<QWidget *>(pnlCatalog), static_cast<QWidget *>(pnlName), static_cast<QWidget *>(pnlFolder),
          static_cast<QWidget *>(pnlChecksums),
          static_cast<QWidget *>(dlInfo), static_cast<QWidget *>(pnlList), static_cast<QWidget *>(btnOk)})
        widget->setEnabled(!scanning);
    actOk->setEnabled(!scanning);
    actDriveImp->setEnabled(!scanning);
}

void TfrmExtEdition::scan(char letter, const QString &root)
{
    rows()->clear();
    showHint(QString());
    m_lastScan = LastScan::Scanned;
    m_scannedLetter = letter;
    Skipped = {};
    ArchivesScanned.clear();
    const auto tellEmpty = qScopeGuard([this] {
        if (rows()->rowCount() == 0)
            showHint(emptyListHint());
    });
    if (lbCatalog->count() == 0)
        return;
    if (Mode == 2 && !IsDriveReady(letter))
        m_lastScan = LastScan::NoDisc;
    GetDriveInfo(letter, DriveInfo);
    edtDrvLabel->setText(DriveInfo.DiskLabel);
    if (Mode == 2)
        showCatalogued();
    const QStringList masks = chooser->maskTexts();
    setScanning(true);
    const auto enable = qScopeGuard([this] { setScanning(false); });
    Scanning = true;
    const ScanTime time = Mode == 3 ? ScanTime(cbFileTime->currentData().toInt()) : ScanTime::Created;
    m_scannedRoot = root;
    m_scannedTime = time;
    Skipped = chkArchives->isChecked() ? scanWithArchives(root, masks, time)
                                       : ScanFiles(root, masks, *rows(), Scanning, nullptr, time);
}

// The scan with the files inside archives; each archive that could not be read is named
// in the log.
ScanSkipped TfrmExtEdition::scanWithArchives(const QString &root, const QStringList &masks, ScanTime time)
{
    if (!m_archiveProbe)
        m_archiveProbe = std::make_shared<ArchiveProbe>();
    ArchiveScan archives{*m_archiveProbe};
    const ScanSkipped skipped = ScanFiles(root, masks, *rows(), Scanning, nullptr, time, &archives);
    for (const QString &unreadable : archives.unreadable)
        qWarning().noquote() << "unreadable archive" << unreadable;
    ArchivesScanned = archives.text();
    return skipped;
}

ImportRecord TfrmExtEdition::importRecord() const
{
    return importRecordOf(chooser->cbCatalog->currentText(), chooser->maskTexts(),
                          Mode == 3 ? ImportRecord::Source::Folder : ImportRecord::Source::Drive, m_scannedRoot,
                          DriveInfo, m_scannedTime);
}

void TfrmExtEdition::dlInfoDrvClick(QObject *, char drvName)
{
    scan(drvName, QString(QChar(char16_t(drvName))) + u":\\"_s);
}

void TfrmExtEdition::actDriveImpExecute()
{
    const char letter = m_folders->drive();
    if (!letter)
        return;
    const QModelIndex current = dlbPath->currentIndex();
    scan(letter, m_folders->letterPath(current.isValid() ? current : m_folders->index(0, 0)));
}

// Only checks the name: the disc record is written with its files, in one transaction,
// once the dialog has closed. A lookup that fails leaves the dialog open (the guard shows
// the engine's message).
void TfrmExtEdition::actOkExecute()
{
    Accepted = false;
    const QString name = edtDrvLabel->text();
    // Refused without a box, the reason shown in the dialog: first the list, since a
    // name is no use without files.
    if (rows()->rowCount() == 0) {
        showHint(emptyListHint());
        return;
    }
    if (name.trimmed().isEmpty()) {
        showHint(Mode == 3 ? tr("请输入导入名称") : tr("请输入光盘名"));
        return;
    }
    if (DiscImport::nameTaken(m_dm, name)) {
        m_prompts.message(tr("光盘索引库中已经有该名称的光盘了!"));
        return;
    }
    if (chkChecksums->isChecked() && !computeChecksums())
        return;
    Accepted = true;
    accept();
}

bool TfrmExtEdition::computeChecksums()
{
    setScanning(true);
    const auto enable = qScopeGuard([this] {
        setScanning(false);
        Scanning = false;
    });
    Scanning = true;
    Checksums = ImportChecksums{true};
    Digests = RowChecksums::compute(
        m_scannedLetter, *rows(), [this](const QString &text) { showHint(text); }, [this] { return !Scanning; },
        Checksums);
    return Digests.has_value();
}

void TfrmExtEdition::actCancelExecute()
{
    reject();
}

void TfrmExtEdition::reject()
{
    Scanning = false;
    Accepted = true;
    TfrmRoot<QDialog>::reject();
}
