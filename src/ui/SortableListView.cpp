#include "SortableListView.h"

#include <QHeaderView>

TSortableListView::TSortableListView(QWidget *parent) : TCustomSortableListView(parent)
{
    // A report list: no grid, no row numbers, one line per row of uniform height.
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideRight);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsMovable(false);
    // The last column takes the width the others leave; a double-click on a column's
    // border fits the column to its texts.
    header()->setStretchLastSection(true);
    connect(header(), &QHeaderView::sectionHandleDoubleClicked, this, &QTableView::resizeColumnToContents,
            Qt::UniqueConnection);
    header()->setSectionsClickable(true);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setHighlightSections(false);
}
