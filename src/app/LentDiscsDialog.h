#pragma once

#include "store/DiscLending.h"
#include "ui/FrmRoot.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

// 借出的光盘: every disc that is out, with borrower and date, the one lent longest ago
// first. A double-click on a disc chooses it and closes the list.
class TfrmLentDiscs : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    explicit TfrmLentDiscs(const QList<LentDisc> &discs, QWidget *parent = nullptr);

    QTableWidget *tblLentDiscs;

signals:
    void discChosen(qint32 discCode);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    bool m_empty;
    QLabel *lblHint;
    QPushButton *btnClose;
};
