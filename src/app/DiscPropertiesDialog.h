#pragma once

#include "store/DiscChange.h"
#include "store/ImportRecord.h"
#include "ui/FrmRoot.h"

#include <QDialog>
#include <optional>

class Prompts;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// 属性 of one disc: its name (to correct it), label, serial, files and size, what its import
// was, where it is kept, a description and keywords, and to whom it is lent with the
// lendings before. 确定 writes the changes in one transaction; a name another disc has is
// refused as the import refuses it and the dialog stays open.
class TfrmDiscProperties : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    TfrmDiscProperties(const QString &connectionName, qint64 discCode, Prompts &prompts, bool readOnly,
                       QWidget *parent = nullptr);

    // What 确定 wrote, or nothing when nothing was written.
    bool changed() const { return m_changed; }

    QLineEdit *edtName;
    QLineEdit *edtLocation;
    QPlainTextEdit *edtNote;
    QLineEdit *edtKeywords;
    QLineEdit *edtBorrower;
    QDateEdit *edtLentOn;
    QPushButton *btnReturn;
    QTableWidget *tblLendings;

protected:
    void changeEvent(QEvent *event) override;

private:
    QGroupBox *createDiscGroup();
    QGroupBox *createImportGroup();
    QGroupBox *createKeepingGroup();
    QGroupBox *createLendingGroup();
    void load();
    QString importText() const;
    QLabel *caption(const char *text);
    void retranslateUi();
    DiscChange change() const;
    void actOkExecute();

    QString m_connectionName;
    qint64 m_code;
    Prompts &m_prompts;
    bool m_readOnly;
    bool m_changed = false;
    QString m_loadedBorrower;
    QString m_loadedName;
    DiscDetails m_loadedDetails;
    QList<std::pair<QLabel *, const char *>> m_captions;
    QLabel *lblLabel;
    QLabel *lblSerial;
    QLabel *lblFiles;
    QLabel *lblSize;
    QLabel *lblImport;
    QGroupBox *grpDisc;
    QGroupBox *grpImport;
    QGroupBox *grpKeeping;
    QGroupBox *grpLending;
    QPushButton *btnOk;
    QPushButton *btnCancel;
    std::optional<ImportRecord> m_record;
};
