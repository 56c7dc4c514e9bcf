#include "SearchListBox.h"

#include "store/Query.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSignalBlocker>

TSearchListBox::TSearchListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemChanged, this, &TSearchListBox::onClickCheck);
}

void TSearchListBox::setADODataSet(TQuery *dataSet)
{
    if (dataSet == m_dataSet)
        return;
    m_dataSet = dataSet;
    const QSignalBlocker blocker(this);
    clear();
    m_fieldNames.clear();
    m_labels.clear();
    m_states.clear();
    if (!dataSet)
        return;
    for (const TFieldDef &field : dataSet->FieldDefs()) {
        if (field.tag == -1)
            continue;
        m_labels.append(field.displayLabel.isEmpty() ? field.name : field.displayLabel);
        auto *item = new QListWidgetItem(shownLabel(m_labels.last()), this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, 14));
        m_fieldNames.append(field.name);
        m_states.append(false);
    }
}

// The display labels are the catalogue's captions in Chinese, the source texts of their
// translations.
QString TSearchListBox::shownLabel(const QString &label)
{
    return QCoreApplication::translate("TdmQL", label.toUtf8().constData());
}

void TSearchListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        const QSignalBlocker blocker(this);
        for (int i = 0; i < count(); ++i)
            item(i)->setText(shownLabel(m_labels.at(i)));
    }
    QListWidget::changeEvent(event);
}

QStringList &TSearchListBox::SQL()
{
    return m_dataSet ? m_dataSet->SQL() : m_ownSql;
}

bool TSearchListBox::isChecked(int index) const
{
    return item(index) && item(index)->checkState() == Qt::Checked;
}

void TSearchListBox::setMark(int index, bool checked)
{
    const QSignalBlocker blocker(this);
    item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    m_states[index] = checked;
}

void TSearchListBox::SetItemChecked(int index, bool checked)
{
    if (index >= 0 && index < count())
        setMark(index, checked);
}

void TSearchListBox::CheckAll()
{
    for (int i = 0; i < count(); ++i) {
        if (isChecked(i))
            continue;
        setMark(i, true);
        emit OnItemClickCheck(this, i, true);
    }
}

void TSearchListBox::UncheckAll()
{
    for (int i = 0; i < count(); ++i) {
        if (!isChecked(i))
            continue;
        setMark(i, false);
        emit OnItemClickCheck(this, i, false);
    }
}

// The user toggled a mark: the first item whose mark differs from what was last seen is
// the one.
void TSearchListBox::onClickCheck()
{
    for (int i = 0; i < count(); ++i) {
        if (isChecked(i) == m_states[i])
            continue;
        m_states[i] = !m_states[i];
        emit OnItemClickCheck(this, i, m_states[i]);
        return;
    }
}
