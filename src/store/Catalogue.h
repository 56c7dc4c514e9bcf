#pragma once

#include "CatalogueRecords.h"
#include "FileKeyReads.h"
#include "SearchStatement.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class TQuery;

// What the program asks of the catalogue. Every statement the program sends stands behind
// this interface (or in the store's own classes beneath it); a failure raises DbError with
// the engine's message. The data module holds the one implementation for its connection.
class Catalogue {
public:
    virtual ~Catalogue() = default;

    // The disc of that code, or of exactly that name; nothing where there is none.
    virtual std::optional<DiscRecord> disc(qint64 code) = 0;
    virtual std::optional<DiscRecord> discNamed(const QString &name) = 0;
    // Whether a disc of that name is catalogued, compared as the import's name check does.
    virtual bool discNameTaken(const QString &name) = 0;
    // The names of all discs by code.
    virtual QHash<qint32, QString> discNames() = 0;
    // Every disc with its number of files, by name in the interface language's order.
    virtual QList<DiscSummary> discSummaries() = 0;

    // Writes a disc record (its code is ignored) and returns the code it was given.
    virtual qint64 insertDisc(const DiscRecord &disc) = 0;
    // Writes one file record and returns its rowid; the statement stays prepared for the next.
    virtual qint64 insertFile(const FileRecord &file) = 0;
    // Marks a file record as a file inside an archive.
    virtual void markArchiveMember(qint64 fileRow) = 0;
    // Whether the file record of that rowid is a file inside an archive.
    virtual bool isArchiveMember(qint64 fileRow) = 0;

    // Opens the search query on the hits of a request (see SearchStatement::open).
    virtual void openSearch(TQuery &query, const FileSearchRequest &request,
                            SearchStatement::IndexUse use = SearchStatement::IndexUse::WhereBuilt) = 0;

    // The keys (rowids) of the file records of a disc, in the order they were written; going
    // (see FileKeyReads) may stop the read.
    virtual std::vector<qint64> fileKeysOfDisc(qint64 disc, const FileKeyReads::Going &going = {}) = 0;
    // The keys of the hits of a search query opened by openSearch, in its order.
    virtual std::vector<qint64> hitKeys(const TQuery &search, const FileKeyReads::Going &going = {}) = 0;
    // Reads the file records of these keys in batches: take(i, record) for every key i whose
    // record is still there, in no particular order.
    virtual void readFiles(std::span<const qint64> keys,
                           const std::function<void(size_t, const FileRecord &)> &take) = 0;
    // One field, or the disc code, of the records of these keys in their order (empty, or 0,
    // for a record that is gone).
    virtual std::vector<QString> fileTexts(std::span<const qint64> keys, FileField field) = 0;
    virtual std::vector<qint64> fileDiscs(std::span<const qint64> keys) = 0;
    // While message is not empty, every readFiles fails with it: how a test makes a read of
    // the list's rows fail.
    virtual void setReadFault(const QString &message) = 0;

    // Opens the mask query on the masks of a category, with the program's way of swallowing
    // a failure (OpenSql): the number of masks, or -1 when the statement failed.
    virtual int openCategoryMasks(TQuery &masks, qint64 category) = 0;
    // Every category with its masks, in code order; the category of that name.
    virtual QList<CategoryRecord> categories() = 0;
    virtual std::optional<CategoryRecord> categoryNamed(const QString &name) = 0;
};
