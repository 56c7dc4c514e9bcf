// What the import dialog says where it would otherwise stay silent: why "确定" did not
// close it, why a scan listed nothing, and what to do without an optical drive.
#include "DrvList.h"
#include "ExtEdition.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

using namespace Qt::StringLiterals;

namespace {
constexpr int kHintLeft = 16;
constexpr int kHintWidth = 203;
} // namespace

QLabel *TfrmExtEdition::createHintLabel(QWidget *parent)
{
    lblHint = new QLabel(parent);
    lblHint->setObjectName(u"lblHint"_s);
    lblHint->setWordWrap(true);
    lblHint->setContentsMargins(kHintLeft, 4, 238 - kHintLeft - kHintWidth, 0);
    QPalette palette = lblHint->palette();
    palette.setColor(QPalette::WindowText, Qt::darkRed);
    lblHint->setPalette(palette);
    lblHint->hide();
    // Typing a name answers the hint that asked for one.
    connect(edtDrvLabel, &QLineEdit::textEdited, lblHint, [this] { showHint(QString()); });
    return lblHint;
}

void TfrmExtEdition::showHint(const QString &text)
{
    lblHint->setText(text);
    lblHint->setVisible(!text.isEmpty());
}

QString TfrmExtEdition::emptyListHint() const
{
    switch (m_lastScan) {
    case LastScan::NoDisc:
        return tr("驱动器中没有光盘");
    case LastScan::Scanned:
        return tr("没有找到符合扩展名的文件");
    case LastScan::None:
        break;
    }
    if (Mode == 3)
        return tr("请选择文件夹，再点击“导入”");
    return lblNoDrive ? tr("没有光盘驱动器") : tr("请点击光盘所在的驱动器");
}

// In place of the empty drive bar: where the files of a machine without an optical drive
// can come from.
void TfrmExtEdition::showNoDrives()
{
    lblNoDrive = new QLabel(pnlDrives);
    lblNoDrive->setObjectName(u"lblNoDrive"_s);
    lblNoDrive->setWordWrap(true);
    lblNoDrive->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lblNoDrive->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblNoDrive->setGeometry(dlInfo->geometry().adjusted(4, 4, -4, 0));
    lblNoDrive->show();
    dlInfo->hide();
    retranslateHints();
}

void TfrmExtEdition::retranslateHints()
{
    if (lblNoDrive)
        lblNoDrive->setText(tr("没有光盘驱动器。\n\n文件夹请用“文件”菜单里的“磁盘导入”导入。\n\n"
                               "光盘映像（.iso）可以这样当作光盘导入：\nquillon --cd-image 映像文件"));
}
