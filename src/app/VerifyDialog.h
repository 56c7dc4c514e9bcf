#pragma once

#include "import/DiscVerification.h"
#include "ui/FrmRoot.h"

#include <QDialog>

class ExportController;
class QLabel;
class QPushButton;
class TSortableListView;

// The result of 校验光盘: the counts of each kind, and the files that are not as the
// catalogue holds them (changed, missing, new, unreadable, not as a checksum list on the
// disc says) in a sortable list that 导出 writes as the main list's export does.
class TfrmVerify : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    TfrmVerify(const QString &discName, const DiscVerification::Outcome &outcome, QWidget *parent = nullptr);

    // 导出 writes the list through it.
    void setExport(ExportController *exporter);

    QLabel *lblSummary;
    TSortableListView *lvVerify;
    QPushButton *btnExport;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QString m_discName;
    DiscVerification::Outcome m_outcome;
    QLabel *lblState;
    QPushButton *btnClose;
};
