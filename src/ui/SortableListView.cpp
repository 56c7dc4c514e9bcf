#include "SortableListView.h"

#include "store/FileRowModel.h"

#include <QHeaderView>

TSortableListView::TSortableListView(QWidget *parent) : QTreeView(parent), m_rows(new FileRowModel(this))
{
    setModel(m_rows);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TSortableListView::setColumns(const QStringList &captions, const QList<int> &widths)
{
    m_rows->setHeaderCaptions(captions);
    for (int i = 0; i < widths.size(); ++i)
        setColumnWidth(i, widths.at(i));
}
