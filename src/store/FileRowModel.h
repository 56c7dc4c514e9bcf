#pragma once

#include "FileRow.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <functional>
#include <vector>

class Catalogue;

// The rows of a file list, five columns wide. Sorting reorders the rows in place, so
// whoever reads the model (export, catalogue writer) reads the order on screen. Rows of
// one disc should share one caption QString to keep memory low.
//
// A list of catalogued files holds only their keys (showKeys): the texts of a row are read
// from the catalogue when it is shown, a block of rows at a time, and a few blocks are kept.
// A key whose record is gone shows as removed; a read that fails shows the engine's
// message once (readFailed) and leaves the rows blank until a read works again.
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
    // The rows held whole; empty for a list of keys.
    const std::vector<FileRow> &rows() const { return m_rows; }

    // Lists the file records of these keys, in this order, read from the catalogue as they
    // are shown; the first column is the name of the record's disc.
    void showKeys(Catalogue &catalogue, QHash<qint32, QString> discNames, std::vector<qint64> keys);
    bool holdsKeys() const { return m_catalogue != nullptr; }
    const std::vector<qint64> &keys() const { return m_keys; }

    // A row, read if need be. A removed record's row has removedText() in the name column.
    FileRow row(int index) const;
    // Every row in list order, read a batch at a time; take answers false to stop. A failing
    // read throws DbError.
    void forEachRow(const std::function<bool(const FileRow &)> &take) const;
    // Every row at once: for short lists.
    std::vector<FileRow> allRows() const;
    // The texts of one column for every row in list order, read once: what a sort compares.
    std::vector<QString> columnTexts(int column) const;
    static QString removedText();

    // Puts the rows into the order given as old row indexes (a permutation), keeping
    // views' persistent indexes on the rows they pointed at.
    void reorder(const std::vector<int> &order);

signals:
    // A read of rows failed with the engine's message; said once for a list.
    void readFailed(const QString &message) const;

private:
    // A run of kBlockRows rows read with one statement.
    struct Block {
        std::vector<FileRow> rows;
        quint64 used = 0;
    };
    static constexpr int kBlockRows = 128;
    static constexpr int kCachedBlocks = 48;
    const FileRow *cachedRow(int index) const;
    std::vector<FileRow> readRows(size_t first, size_t count) const;
    FileRow rowOf(const FileRecord &file) const;
    void forgetCache();

    std::vector<FileRow> m_rows;
    Catalogue *m_catalogue = nullptr;
    QHash<qint32, QString> m_discNames;
    std::vector<qint64> m_keys;
    mutable QHash<int, Block> m_blocks;
    mutable quint64 m_uses = 0;
    mutable bool m_failureSaid = false;
    QStringList m_captions;
    QString m_title;
};
