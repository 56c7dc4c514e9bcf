#pragma once

#include "Catalogue.h"

class TLCommFunction;
class TdmQL;

// The catalogue in an SQLite file, through the data module's connection and queries: the
// statements the import and the browser run go through the named queries that own them
// (aqryTempFind, aqryCdRomListDt, aqryExtDt), the rest through statements of their own.
class SqliteCatalogue final : public Catalogue {
public:
    SqliteCatalogue(TdmQL &dm, TLCommFunction &commFunction);

    std::optional<DiscRecord> disc(qint64 code) override;
    std::optional<DiscRecord> discNamed(const QString &name) override;
    bool discNameTaken(const QString &name) override;
    QHash<qint32, QString> discNames() override;
    QList<DiscSummary> discSummaries() override;

    qint64 insertDisc(const DiscRecord &disc) override;
    qint64 insertFile(const FileRecord &file) override;
    void markArchiveMember(qint64 fileRow) override;
    bool isArchiveMember(qint64 fileRow) override;

    void openSearch(TQuery &query, const FileSearchRequest &request, SearchStatement::IndexUse use) override;

    std::vector<qint64> fileKeysOfDisc(qint64 disc, const FileKeyReads::Going &going) override;
    std::vector<qint64> hitKeys(const TQuery &search, const FileKeyReads::Going &going) override;
    void readFiles(std::span<const qint64> keys, const std::function<void(size_t, const FileRecord &)> &take) override;
    std::vector<QString> fileTexts(std::span<const qint64> keys, FileField field) override;
    std::vector<qint64> fileDiscs(std::span<const qint64> keys) override;
    void setReadFault(const QString &message) override { m_readFault = message; }

    int openCategoryMasks(TQuery &masks, qint64 category) override;
    QList<CategoryRecord> categories() override;
    std::optional<CategoryRecord> categoryNamed(const QString &name) override;

private:
    std::optional<DiscRecord> firstDisc(const QString &statement, const QVariant &value);
    QString connectionName() const;

    TdmQL &m_dm;
    TLCommFunction &m_commFunction;
    QString m_readFault;
};
