#include "LentDiscsDialog.h"

#include "RecordTable.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmLentDiscs::TfrmLentDiscs(const QList<LentDisc> &discs, QWidget *parent)
    : TfrmRoot<QDialog>(parent)
    , m_empty(discs.isEmpty())
{
    setObjectName(u"frmLentDiscs"_s);
    tblLentDiscs = recordTable(this, u"tblLentDiscs"_s, 3);
    tblLentDiscs->setColumnWidth(0, 220);
    tblLentDiscs->setColumnWidth(1, 140);
    for (const LentDisc &disc : discs) {
        const int row = appendRecord(*tblLentDiscs, {disc.name, disc.borrower, disc.lentOn});
        tblLentDiscs->item(row, 0)->setData(Qt::UserRole, disc.code);
    }
    connect(tblLentDiscs, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        emit discChosen(tblLentDiscs->item(row, 0)->data(Qt::UserRole).toInt());
        accept();
    });
    lblHint = new QLabel(this);
    btnClose = new QPushButton(this);
    btnClose->setObjectName(u"btnClose"_s);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblHint, 1);
    bottom->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tblLentDiscs, 1);
    layout->addLayout(bottom);
    retranslateUi();
    resize(560, 360);
}

void TfrmLentDiscs::retranslateUi()
{
    setWindowTitle(tr("借出的光盘"));
    tblLentDiscs->setHorizontalHeaderLabels({tr("光盘名"), tr("借给"), tr("借出日期")});
    lblHint->setText(m_empty ? tr("没有借出的光盘") : tr("双击一张光盘，在光盘目录中选中它"));
    btnClose->setText(tr("关闭"));
}

void TfrmLentDiscs::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    TfrmRoot<QDialog>::changeEvent(event);
}
