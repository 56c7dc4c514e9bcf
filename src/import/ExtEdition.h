#pragma once

#include "RowChecksums.h"
#include "ScanFiles.h"
#include "drives/DriveInfo.h"
#include "store/ImportRecord.h"
#include "ui/FrmRoot.h"

#include <QDialog>
#include <functional>
#include <memory>

class FileRowModel;
class FolderTreeModel;
class ArchiveProbe;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QTreeView;
class QVBoxLayout;
class Prompts;
class TCategoryChooser;
class TDrvList;
class TSortableListView;
class TdmQL;
class TLCommFunction;
class TQuery;

// The dialog of the extension categories. In mode 1 it edits the categories and their
// file masks; modes 2 (disc) and 3 (folder) are the import dialog, which scans with the
// masks of the chosen category. The category chooser and its actions are one piece that
// every mode shows; the members below of the same names point into it.
class TfrmExtEdition : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    TfrmExtEdition(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, QWidget *parent = nullptr);
    ~TfrmExtEdition() override;

    // Configures the dialog for a mode; called once, after creation and before showing.
    void SetMode(int m);

    // Event handlers.
    void FormShow();
    void FormResize();
    bool FormCloseQuery() const;

    // The import side (modes 2 and 3).
    void dlInfoDrvClick(QObject *sender, char drvName);
    void actDriveImpExecute();
    void actOkExecute();
    void actCancelExecute();
    QString GetDiscName() const;
    // What the last scan was, for the record stored with the disc.
    ImportRecord importRecord() const;
    // Escape and "取消": a running scan stops and the dialog closes without a disc.
    void reject() override;
    // The rows of the last scan, in the order the catalogue writer stores them.
    FileRowModel *rows() const;

    // 1 category editor, 2 disc import, 3 folder import.
    qint32 Mode = 0;
    // The drive scanned last; its label and serial number go into the disc record.
    RDriveInfo DriveInfo;
    bool Accepted = false;
    bool Scanning = false;
    // What the last scan could not read.
    ScanSkipped Skipped;
    // 计算校验值: the choice, and once "确定" read the files, what came of it and each row's
    // SHA-256 (empty for a file that could not be read).
    ImportChecksums Checksums;
    std::optional<QList<QByteArray>> Digests;
    // What the last scan made of archives ("m个压缩文件，k个压缩文件无法读取"); empty when it
    // did not look into them.
    QString ArchivesScanned;

    TCategoryChooser *chooser;
    QMenuBar *mmExt;
    QFrame *pnlLeft;
    QFrame *pnlCatalog;
    QLabel *Label1;
    QComboBox *cbCatalog;
    QFrame *pnlMask;
    QLabel *Label2;
    QListWidget *lbCatalog;
    QFrame *pnlMaskButtons;

    QFrame *pnlName;
    QLabel *Label3;
    QLineEdit *edtDrvLabel;
    QLabel *lblCatalogued;
    QFrame *pnlDrives;
    TDrvList *dlInfo;
    QLabel *lblNoDrive = nullptr;
    QFrame *pnlFolder;
    QComboBox *dcbDrive;
    QTreeView *dlbPath;
    // 文件时间: which time of each file a folder import lists, creation or last write.
    QLabel *lblFileTime;
    QComboBox *cbFileTime;
    QPushButton *Button4;
    QFrame *pnlChecksums;
    QCheckBox *chkChecksums;
    // 包括压缩文件中的文件: the scan lists the files inside archives too.
    QCheckBox *chkArchives;
    QFrame *pnlOk;
    QPushButton *btnOk;
    QPushButton *BitBtn2;
    // Why "确定" was refused, or why the scan listed nothing.
    QLabel *lblHint;
    QFrame *pnlList;
    TSortableListView *lvDetail;

    QAction *actAdd;
    QAction *actEdit;
    QAction *actDel;
    QAction *actDAdd;
    QAction *actDEdit;
    QAction *actDErase;
    QAction *actOk;
    QAction *actCancel;
    QAction *actDriveImp;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString m_scannedRoot;
    ScanTime m_scannedTime = ScanTime::Created;
    // Sets every text of the dialog's own in the interface's language.
    void retranslateUi();
    void retranslateImport();
    void createMenu();
    void createPanels();
    void takeChooserNames();
    QFrame *createMaskButtons();
    void SetEditorMode();
    void SetImportMode(int m);
    void createImportActions();
    void createImportPanels(QVBoxLayout *column, QHBoxLayout *layout);
    QFrame *createNamePanel(QWidget *parent);
    QFrame *createDrivePanel(QWidget *parent);
    QFrame *createFolderPanel(QWidget *parent);
    QFrame *createOkPanel(QWidget *parent);
    QFrame *createChecksumPanel(QWidget *parent);
    // Reads the listed files whole with only "取消" usable; false when it was pressed.
    bool computeChecksums();
    QLabel *createHintLabel(QWidget *parent);
    QWidget *createArchivesBox(QWidget *parent);
    ScanSkipped scanWithArchives(const QString &root, const QStringList &masks, ScanTime time);
    void showHint(const QString &text);
    QString emptyListHint() const;
    void showNoDrives();
    void retranslateHints();
    QFrame *createListPanel();
    void fillDrives();
    void showCatalogued();
    void dcbDriveChange();
    void scan(char letter, const QString &root);
    void setScanning(bool scanning);
    void fitDriveBar();
    void centreOnScreen();
    void guarded(const std::function<void()> &handler);

    // What the last scan met: none yet, a drive without a disc, or a scan that ran.
    enum class LastScan { None, NoDisc, Scanned };
    LastScan m_lastScan = LastScan::None;
    char m_scannedLetter = 0;
    // Started on the first archive of a scan that looks into them, kept for the next scans.
    std::shared_ptr<ArchiveProbe> m_archiveProbe;
    FolderTreeModel *m_folders = nullptr;
    QMenu *m_menu = nullptr;
    TdmQL &m_dm;
    TLCommFunction &m_commFunction;
    Prompts &m_prompts;
};
