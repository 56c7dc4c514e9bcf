#pragma once

#include <QHeaderView>
#include <QTableView>

class FileRowModel;

// A report-style list over a FileRowModel that keeps its own sort state and sorts its
// rows as text, numbers or dates. The rows live in the model, never as widget items, so
// the list holds a million of them.
class TCustomSortableListView : public QTableView {
    Q_OBJECT
public:
    enum SortKind : quint8 { Text = 0, Number = 1, DateTime = 2 };

    explicit TCustomSortableListView(QWidget *parent = nullptr);

    FileRowModel *rows() const { return m_rows; }
    // The column header, whose clicks sort the list.
    QHeaderView *header() const { return horizontalHeader(); }
    void setColumns(const QStringList &captions, const QList<int> &widths);

    // The column last sorted by, or -1 before the first sort.
    int CurrentSortColumn() const { return m_sorted ? m_sortColumn : -1; }
    bool SortAscending() const { return m_ascending; }
    quint8 sortKind() const { return m_sortKind; }

    // Sorts by column, reversing the direction when it is the current sort column.
    void SortBy(int column, quint8 kind);
    void DoSort(int column, quint8 kind, bool ascending);

private:
    FileRowModel *m_rows;
    int m_sortColumn = 0;
    quint8 m_sortKind = Text;
    bool m_ascending = true;
    bool m_sorted = false;
};
