#include "DiscDifferenceDialog.h"

#include "DiscUpdate.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QStringList cellsOf(const FileRecord &file)
{
    return {file.folder + file.name, file.size, file.date};
}

} // namespace

TfrmDiscDifference::TfrmDiscDifference(const QString &discName, const DiscUpdate &update, QWidget *parent)
    : QDialog(parent)
    , m_counts(new QLabel(this))
    , m_files(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("frmDiscDifference"));
    setWindowTitle(tr("更新光盘“%1”").arg(discName));
    const DiscDifference &difference = update.difference();
    QString counts = difference.isEmpty() ? tr("光盘的文件没有变化。") : difference.countsText();
    // Files in folders the scan could not read are listed as removed: the user decides.
    if (update.skipped().any())
        counts += u'\n' + tr("%1，其中的文件列为删除。").arg(update.skipped().text());
    m_counts->setText(counts);
    m_files->setHeaderLabels({tr("文件"), tr("大小"), tr("时间")});
    m_files->setRootIsDecorated(true);
    m_files->setUniformRowHeights(true);
    QList<QStringList> added, removed, changed;
    for (const int row : difference.added.mid(0, kListedFiles))
        added.append(cellsOf(update.scannedRecord(row)));
    for (const StoredFile &file : difference.removed.mid(0, kListedFiles))
        removed.append(cellsOf(file.record));
    for (const DiscDifference::Change &change : difference.changed.mid(0, kListedFiles))
        changed.append(cellsOf(update.scannedRecord(change.scanRow)));
    addGroup(tr("新增%1个文件").arg(difference.added.size()), added, difference.added.size());
    addGroup(tr("删除%1个文件").arg(difference.removed.size()), removed, difference.removed.size());
    addGroup(tr("更改%1个文件").arg(difference.changed.size()), changed, difference.changed.size());
    for (int i = 0; i < m_files->topLevelItemCount(); ++i)
        m_files->topLevelItem(i)->setExpanded(true);
    m_files->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_files->header()->setStretchLastSection(false);
    m_files->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_files->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!difference.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_counts);
    layout->addWidget(m_files, 1);
    layout->addWidget(buttons);
    resize(640, 420);
}

void TfrmDiscDifference::addGroup(const QString &heading, const QList<QStringList> &files, qsizetype total)
{
    auto *group = new QTreeWidgetItem(m_files, {heading});
    QList<QTreeWidgetItem *> items;
    for (const QStringList &cells : files)
        items.append(new QTreeWidgetItem(cells));
    if (total > files.size())
        items.append(new QTreeWidgetItem({tr("……还有%1个文件").arg(total - files.size())}));
    group->addChildren(items);
}
