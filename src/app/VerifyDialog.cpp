#include "VerifyDialog.h"

#include "DiscNodeLook.h"
#include "search/ExportController.h"
#include "store/FileRowModel.h"
#include "ui/SortableListView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmVerify::TfrmVerify(const QString &discName, const DiscVerification::Outcome &outcome, QWidget *parent)
    : TfrmRoot<QDialog>(parent)
    , m_discName(discName)
    , m_outcome(outcome)
{
    setObjectName(u"frmVerify"_s);
    lblState = new QLabel(this);
    lblState->setObjectName(u"lblState"_s);
    QFont bold = lblState->font();
    bold.setBold(true);
    lblState->setFont(bold);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(u"lblSummary"_s);
    lblSummary->setWordWrap(true);
    lvVerify = new TSortableListView(this);
    lvVerify->setObjectName(u"lvVerify"_s);
    lvVerify->setColumns(QStringList(5, QString()), {170, 80, 140, 130, 350});
    std::vector<FileRow> rows;
    rows.reserve(size_t(outcome.files.size()));
    for (const VerifiedFile &file : outcome.files)
        rows.push_back({file.name,
                        {file.size, file.date, file.folder,
                         file.detail.isEmpty() ? VerifiedFile::kindText(file.kind)
                                               : tr("%1：%2").arg(VerifiedFile::kindText(file.kind), file.detail)}});
    lvVerify->rows()->appendRows(std::move(rows));
    btnExport = new QPushButton(this);
    btnExport->setObjectName(u"btnExport"_s);
    btnExport->setEnabled(!outcome.files.isEmpty());
    btnClose = new QPushButton(this);
    btnClose->setObjectName(u"btnClose"_s);
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnExport);
    bottom->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblState);
    layout->addWidget(lblSummary);
    layout->addWidget(lvVerify, 1);
    layout->addLayout(bottom);
    retranslateUi();
    resize(900, 480);
}

void TfrmVerify::setExport(ExportController *exporter)
{
    connect(btnExport, &QPushButton::clicked, exporter, &ExportController::actCDexpASCExecute);
}

void TfrmVerify::retranslateUi()
{
    setWindowTitle(tr("校验光盘 - %1").arg(m_discName));
    lblState->setText(DiscNodeLook::verificationText(m_outcome.counts));
    lblSummary->setText(DiscVerification::summary(m_outcome.counts));
    FileRowModel &rows = *lvVerify->rows();
    rows.setTitle(tr("校验光盘 %1").arg(m_discName));
    rows.setHeaderCaptions({tr("文件名"), tr("大小"), tr("时间"), tr("路径"), tr("结果")});
    btnExport->setText(tr("导出(&E)..."));
    btnClose->setText(tr("关闭"));
}

void TfrmVerify::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    TfrmRoot<QDialog>::changeEvent(event);
}
