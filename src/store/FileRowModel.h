#pragma once

#include "FileRow.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

// The rows of a file list, five columns wide. Sorting reorders the rows in place, so
// whoever reads the model (export, catalogue writer) reads the order on screen. Rows of
// one disc should share one caption QString to keep memory low.
class FileRowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FileRowModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

    void setHeaderCaptions(const QStringList &captions);
    QString headerCaption(int column) const;
    // The caption without the sort mark a click on the column's header appended.
    QString plainCaption(int column) const;
    // Takes the sort marks off every caption but the one of column keep (-1: off all).
    void clearSortMarks(int keep);

    // The marks of the sorted column: ascending after the first click, descending after
    // the second.
    static constexpr QChar kAscendingMark = QChar(0x25B3);  // △
    static constexpr QChar kDescendingMark = QChar(0x25BD); // ▽

    // What the rows are, as a file name would say it: a disc's name, or that they are the
    // hits of a search. Empty when nobody said, and again after clear().
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    void appendRow(FileRow row);
    void appendRows(std::vector<FileRow> rows);
    void clear();
    // Makes room for n rows in all, so a list read in batches is never copied to grow.
    void reserve(size_t n) { m_rows.reserve(n); }
    const FileRow &row(int index) const { return m_rows[size_t(index)]; }
    const std::vector<FileRow> &rows() const { return m_rows; }

    // Puts the rows into the order given as old row indexes (a permutation), keeping
    // views' persistent indexes on the rows they pointed at.
    void reorder(const std::vector<int> &order);

private:
    std::vector<FileRow> m_rows;
    QStringList m_captions;
    QString m_title;
};
