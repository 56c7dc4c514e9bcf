#pragma once

#include "CatalogueRecords.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <span>
#include <vector>

// The statements of a list that holds only the keys (rowids) of its file records: the keys
// of a disc's files or of a search's hits, and reads of records and of single fields by key,
// in batches. Every failure raises DbError with the engine's message.
class FileKeyReads {
public:
    // Called with the number of keys read so far every kProgressStep keys; false stops the
    // read, which then returns the keys read until then.
    using Going = std::function<bool(qsizetype)>;
    static constexpr qsizetype kProgressStep = 1 << 16;

    explicit FileKeyReads(QString connectionName) : m_connectionName(std::move(connectionName)) {}

    // The keys of a disc's file records, in the order they were written.
    std::vector<qint64> ofDisc(qint64 disc, const Going &going = {}) const;
    // The keys a statement answers with in its first column, with its values bound.
    std::vector<qint64> ofStatement(const QString &text, const QVariantList &values, const Going &going = {}) const;
    // Calls take(i, record) for every key i whose record exists; a gone record is passed
    // over. The records are read in batches in rowid order, so take comes in any order.
    void records(std::span<const qint64> keys, const std::function<void(size_t, const FileRecord &)> &take) const;
    // One field of the records of these keys, in the keys' order; empty for a gone record.
    std::vector<QString> texts(std::span<const qint64> keys, FileField field) const;
    // The disc codes of the records of these keys, in the keys' order; 0 for a gone record.
    std::vector<qint64> discs(std::span<const qint64> keys) const;

private:
    class NativeStatement;
    // Runs the select of these columns over the keys, sorted, a batch at a time: a dense
    // run of keys as one range, scattered keys as a list. read gets the position of the key
    // in keys and the statement on its row, whose first column is the rowid.
    void forEachRow(std::span<const qint64> keys, const QString &columns,
                    const std::function<void(size_t, const NativeStatement &)> &read) const;

    QString m_connectionName;
};
