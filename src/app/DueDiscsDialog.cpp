#include "DueDiscsDialog.h"

#include "DiscNodeLook.h"
#include "RecordTable.h"
#include "import/DiscVerification.h"
#include "store/DiscVerifications.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kMonthsKey = u"verify/dueMonths"_s;

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Quillon"_s, u"Quillon"_s);
}
} // namespace

int TfrmDueDiscs::savedMonths()
{
    return std::clamp(settings().value(kMonthsKey, 12).toInt(), 0, 240);
}

TfrmDueDiscs::TfrmDueDiscs(const QString &connectionName, QWidget *parent)
    : TfrmRoot<QDialog>(parent)
    , m_connectionName(connectionName)
{
    setObjectName(u"frmDueDiscs"_s);
    lblMonths = new QLabel(this);
    sbMonths = new QSpinBox(this);
    sbMonths->setObjectName(u"sbMonths"_s);
    sbMonths->setRange(0, 240);
    sbMonths->setValue(savedMonths());
    lblMonths->setBuddy(sbMonths);
    tblDueDiscs = recordTable(this, u"tblDueDiscs"_s, 3);
    tblDueDiscs->setColumnWidth(0, 220);
    tblDueDiscs->setColumnWidth(1, 150);
    connect(tblDueDiscs, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        emit discChosen(tblDueDiscs->item(row, 0)->data(Qt::UserRole).toInt());
        accept();
    });
    connect(sbMonths, &QSpinBox::valueChanged, this, [this](int months) {
        settings().setValue(kMonthsKey, months);
        fill();
    });
    lblHint = new QLabel(this);
    btnClose = new QPushButton(this);
    btnClose->setObjectName(u"btnClose"_s);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto *top = new QHBoxLayout;
    top->addWidget(lblMonths);
    top->addWidget(sbMonths);
    top->addStretch(1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblHint, 1);
    bottom->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tblDueDiscs, 1);
    layout->addLayout(bottom);
    retranslateUi();
    fill();
    resize(640, 400);
}

void TfrmDueDiscs::fill()
{
    tblDueDiscs->setRowCount(0);
    const QHash<qint32, Verification> latest = DiscVerificationStore::latest(m_connectionName);
    for (const DueDisc &disc :
         DiscVerificationStore::due(m_connectionName, DiscVerification::dueCutoff(sbMonths->value()))) {
        const auto found = latest.constFind(disc.code);
        const QString state =
            DiscNodeLook::verificationText(found == latest.cend() ? std::nullopt : std::optional(*found));
        const int row = appendRecord(*tblDueDiscs, {disc.name, disc.verifiedAt, state});
        tblDueDiscs->item(row, 0)->setData(Qt::UserRole, disc.code);
    }
    lblHint->setText(tblDueDiscs->rowCount() == 0 ? tr("没有需要检查的光盘")
                                                  : tr("双击一张光盘，在光盘目录中选中它，再用“校验光盘”检查"));
}

void TfrmDueDiscs::retranslateUi()
{
    setWindowTitle(tr("需要检查的光盘"));
    lblMonths->setText(tr("从未校验过的光盘，和上次校验在这么多个月以前的(&M):"));
    sbMonths->setSuffix(tr(" 个月"));
    tblDueDiscs->setHorizontalHeaderLabels({tr("光盘名"), tr("上次校验"), tr("结果")});
    btnClose->setText(tr("关闭"));
}

void TfrmDueDiscs::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
        fill();
    }
    TfrmRoot<QDialog>::changeEvent(event);
}
