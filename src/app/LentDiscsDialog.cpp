#include "LentDiscsDialog.h"

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
    tblLentDiscs = new QTableWidget(int(discs.size()), 3, this);
    tblLentDiscs->setObjectName(u"tblLentDiscs"_s);
    tblLentDiscs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblLentDiscs->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblLentDiscs->setSelectionMode(QAbstractItemView::SingleSelection);
    tblLentDiscs->verticalHeader()->hide();
    tblLentDiscs->horizontalHeader()->setStretchLastSection(true);
    tblLentDiscs->setColumnWidth(0, 220);
    tblLentDiscs->setColumnWidth(1, 140);
    for (int row = 0; row < discs.size(); ++row) {
        const LentDisc &disc = discs.at(row);
        int column = 0;
        for (const QString &text : {disc.name, disc.borrower, disc.lentOn})
            tblLentDiscs->setItem(row, column++, new QTableWidgetItem(text));
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
