#pragma once

#include "ui/FrmRoot.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

// 需要检查的光盘: the discs never verified, then those last verified more than the chosen
// number of months ago (kept in the settings; a year at first), the oldest first. A
// double-click on a disc chooses it and closes the list.
class TfrmDueDiscs : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    explicit TfrmDueDiscs(const QString &connectionName, QWidget *parent = nullptr);

    QSpinBox *sbMonths;
    QTableWidget *tblDueDiscs;

    static int savedMonths();

signals:
    void discChosen(qint32 discCode);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fill();
    void retranslateUi();

    QString m_connectionName;
    QLabel *lblMonths;
    QLabel *lblHint;
    QPushButton *btnClose;
};
