// The category side of the chooser: the category list, its selection change and the
// editing of category names.
#include "CategoryChooser.h"

#include "store/Catalogue.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/Prompts.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>

using namespace Qt::StringLiterals;

void TCategoryChooser::requireRow(bool located)
{
    if (!located)
        throw DbError(QCoreApplication::translate("TCategoryChooser", "找不到所选的记录"));
}

// Reads the categories in code order into the chooser; each entry keeps its extCode.
void TCategoryChooser::fillCatalog()
{
    TQuery &categories = *m_dm.aqryExtMt;
    categories.Close();
    categories.Open();
    cbCatalog->clear();
    categories.DisableControls();
    for (categories.First(); !categories.Eof(); categories.Next())
        cbCatalog->addItem(categories.FieldByName(u"extName"_s).AsString(),
                           categories.FieldByName(u"extCode"_s).AsInteger());
    categories.EnableControls();
}

QVariant TCategoryChooser::selectedCategory() const
{
    return cbCatalog->currentIndex() < 0 ? QVariant() : cbCatalog->currentData();
}

// Makes the selected entry's row the current category.
bool TCategoryChooser::locateCategory()
{
    const QVariant code = selectedCategory();
    return code.isValid() && m_dm.aqryExtMt->Locate(u"extCode"_s, code);
}

void TCategoryChooser::setCategoryActions(bool enabled)
{
    for (QAction *action : {actEdit, actDel, actDAdd})
        action->setEnabled(enabled);
}

void TCategoryChooser::cbCatalogChange()
{
    if (cbCatalog->currentIndex() < 0)
        setCategoryActions(false);
    else
        locateCategory();
    setMaskActions(false);
    const QVariant code = selectedCategory();
    m_dm.catalogue().openCategoryMasks(*m_dm.aqryExtDt, code.isValid() ? code.toLongLong() : qint64(-1));
    InslbCatalog();
}

// Fills the mask list from the open mask dataset; each entry keeps its row's rowid.
void TCategoryChooser::InslbCatalog()
{
    lbCatalog->clear();
    TQuery &masks = *m_dm.aqryExtDt;
    QString failure;
    try {
        if (!masks.Active() || masks.RecordCount() == 0)
            return;
        for (masks.First(); !masks.Eof(); masks.Next())
            addMaskEntry(masks.FieldByName(u"extDetailInfo"_s).AsString(), masks.FieldByName(u"rowid"_s).Value());
        return;
    } catch (const DbError &error) {
        failure = error.message();
    } catch (const std::exception &error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    m_commFunction.ShowError(QCoreApplication::translate("TCategoryChooser", "函数InslbCatalog操作错误"),
                             QCoreApplication::translate("TCategoryChooser", "错误信息:") + u'\r' + failure, QString());
}

std::optional<QString> TCategoryChooser::askNewName(const QString &old)
{
    bool ok = false;
    const QString text =
        m_prompts.inputText(QCoreApplication::translate("TCategoryChooser", "新的名称"),
                            QCoreApplication::translate("TCategoryChooser", "请在输入框内输入修改后的名称."), old, &ok);
    if (!ok || text == old)
        return std::nullopt;
    return text.trimmed();
}

bool TCategoryChooser::storeStep(TQuery &dataSet, const std::function<bool()> &step)
{
    bool stored = false;
    try {
        stored = step();
    } catch (const DbError &error) {
        TLCommBusiness(m_commFunction).ShowDataError(error.message());
    } catch (...) {
        dataSet.Cancel();
        throw;
    }
    if (!stored) {
        dataSet.Cancel();
        reloadLists();
    }
    return stored;
}

// After a failed store step: both lists show the catalogue again, keeping the selected
// category and mask where they still exist.
void TCategoryChooser::reloadLists()
{
    const QVariant category = selectedCategory();
    const int maskRow = selectedMask();
    const QVariant mask = maskRow >= 0 ? maskKey(maskRow) : QVariant();
    fillCatalog();
    const int index = category.isValid() ? cbCatalog->findData(category) : -1;
    cbCatalog->setCurrentIndex(index >= 0 ? index : (cbCatalog->count() > 0 ? 0 : -1));
    setCategoryActions(cbCatalog->count() > 0);
    cbCatalogChange();
    for (int row = 0; mask.isValid() && row < lbCatalog->count(); ++row) {
        if (maskKey(row) == mask) {
            selectMask(row);
            setMaskActions(true);
        }
    }
}

void TCategoryChooser::actAddExecute()
{
    bool ok = false;
    const QString text = m_prompts.inputText(
        QCoreApplication::translate("TCategoryChooser", "新的名称"),
        QCoreApplication::translate("TCategoryChooser", "请在输入框内输入新的名称.        "), QString(), &ok);
    if (!ok)
        return;
    const QString name = text.trimmed();
    TQuery &categories = *m_dm.aqryExtMt;
    const bool stored = storeStep(categories, [&] {
        categories.Append();
        categories.FieldByName(u"extName"_s).SetValue(name);
        return categories.Post();
    });
    if (!stored)
        return;
    const bool hadSelection = cbCatalog->currentIndex() >= 0;
    cbCatalog->addItem(name, categories.FieldByName(u"extCode"_s).AsInteger());
    if (!hadSelection) {
        cbCatalog->setCurrentIndex(0);
        setCategoryActions(true);
    }
}

void TCategoryChooser::actEditExecute()
{
    const int index = cbCatalog->currentIndex();
    if (index < 0)
        return;
    const QString old = cbCatalog->itemText(index);
    const std::optional<QString> answer = askNewName(old);
    if (!answer)
        return;
    const QString name = *answer;
    TQuery &categories = *m_dm.aqryExtMt;
    const bool stored = storeStep(categories, [&] {
        requireRow(locateCategory());
        categories.Edit();
        categories.FieldByName(u"extName"_s).SetValue(name);
        return categories.Post();
    });
    if (stored)
        cbCatalog->setItemText(index, name);
}

// There is no confirmation; the category's masks go with it.
void TCategoryChooser::actDelExecute()
{
    const int index = cbCatalog->currentIndex();
    if (index < 0)
        return;
    TQuery &categories = *m_dm.aqryExtMt;
    const bool stored = storeStep(categories, [&] {
        requireRow(locateCategory());
        return categories.Delete();
    });
    if (!stored)
        return;
    cbCatalog->removeItem(index);
    if (cbCatalog->count() > 0)
        cbCatalog->setCurrentIndex(qMin(index, cbCatalog->count() - 1));
    // With no entry left this clears the mask list and leaves only the adding of a name.
    cbCatalogChange();
}
