// The mask side of the chooser: the list of the chosen category's masks and their editing.
#include "CategoryChooser.h"

#include "store/DmQL.h"
#include "ui/Prompts.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>

using namespace Qt::StringLiterals;

namespace {
const QString kMaskKey = u"rowid"_s;
} // namespace

int TCategoryChooser::selectedMask() const
{
    const QList<QListWidgetItem *> items = lbCatalog->selectedItems();
    return items.isEmpty() ? -1 : lbCatalog->row(items.constFirst());
}

QVariant TCategoryChooser::maskKey(int row) const
{
    return lbCatalog->item(row)->data(Qt::UserRole);
}

bool TCategoryChooser::locateMask(int row)
{
    return m_dm.aqryExtDt->Locate(kMaskKey, maskKey(row));
}

void TCategoryChooser::addMaskEntry(const QString &text, const QVariant &key)
{
    auto *item = new QListWidgetItem(text, lbCatalog);
    item->setData(Qt::UserRole, key);
}

void TCategoryChooser::selectMask(int row)
{
    lbCatalog->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void TCategoryChooser::setMaskActions(bool enabled)
{
    actDEdit->setEnabled(enabled);
    actDErase->setEnabled(enabled);
}

// Any text is a mask (*.mp3, abc.*, readme.txt); blanks alone make an empty one.
void TCategoryChooser::actDAddExecute()
{
    const QVariant code = selectedCategory();
    if (!code.isValid())
        return;
    locateCategory();
    bool ok = false;
    const QString text = m_prompts.inputText(
        QCoreApplication::translate("TCategoryChooser", "新的文件扩展名"),
        QCoreApplication::translate("TCategoryChooser", "请在输入框内输入新的扩展名，abc. *.dat"), QString(), &ok);
    if (!ok || text.isEmpty())
        return;
    const QString mask = text.trimmed();
    TQuery &masks = *m_dm.aqryExtDt;
    const bool stored = storeStep(masks, [&] {
        masks.Append();
        masks.FieldByName(u"extCode"_s).SetValue(code.toLongLong());
        masks.FieldByName(u"extDetailInfo"_s).SetValue(mask);
        return masks.Post();
    });
    if (!stored)
        return;
    const bool hadSelection = selectedMask() >= 0;
    addMaskEntry(mask, masks.FieldByName(kMaskKey).Value());
    if (!hadSelection) {
        selectMask(0);
        setMaskActions(true);
    }
}

void TCategoryChooser::actDEditExecute()
{
    const int row = selectedMask();
    if (row < 0)
        return;
    const QString old = lbCatalog->item(row)->text();
    const std::optional<QString> answer = askNewName(old);
    if (!answer)
        return;
    const QString mask = *answer;
    TQuery &masks = *m_dm.aqryExtDt;
    const bool stored = storeStep(masks, [&] {
        requireRow(locateMask(row));
        masks.Edit();
        masks.FieldByName(u"extDetailInfo"_s).SetValue(mask);
        return masks.Post();
    });
    if (stored)
        lbCatalog->item(row)->setText(mask);
}

// There is no confirmation.
void TCategoryChooser::actDEraseExecute()
{
    const int row = selectedMask();
    if (row < 0)
        return;
    TQuery &masks = *m_dm.aqryExtDt;
    const bool stored = storeStep(masks, [&] {
        requireRow(locateMask(row));
        return masks.Delete();
    });
    if (!stored)
        return;
    delete lbCatalog->takeItem(row);
    if (lbCatalog->count() > 0) {
        selectMask(qMin(row, lbCatalog->count() - 1));
    } else {
        lbCatalog->clear();
        setMaskActions(false);
    }
}

void TCategoryChooser::lbCatalogEnter()
{
    if (lbCatalog->count() == 0)
        return;
    setMaskActions(true);
    if (selectedMask() < 0)
        selectMask(0);
}

void TCategoryChooser::lbCatalogExit()
{
    if (selectedMask() < 0)
        setMaskActions(false);
}
