#pragma once

#include <QTreeView>

class FileRowModel;

// A report-style list over a FileRowModel that sorts by the column whose header is
// clicked. It holds a million rows: the rows live in the model, never as widget items.
class TSortableListView : public QTreeView {
    Q_OBJECT
public:
    explicit TSortableListView(QWidget *parent = nullptr);

    FileRowModel *rows() const { return m_rows; }
    void setColumns(const QStringList &captions, const QList<int> &widths);

    // The column the list is sorted by (-1: none) and its direction.
    int CurrentSortColumn = -1;
    bool SortAscending = true;

private:
    FileRowModel *m_rows;
};
