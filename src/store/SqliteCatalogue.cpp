#include "SqliteCatalogue.h"

#include "DmQL.h"
#include "LCommFunction.h"
#include "Statement.h"

using namespace Qt::StringLiterals;

namespace {

const QString kDiscColumns = u"select DiskCode, DiskLabel, DiskName, DiskSerial from CdRomListMt "_s;
const QString kInsertDisc = u"Insert Into CdRomListMt (DiskName, DiskLabel, DiskSerial) values (?, ?, ?)"_s;
const QString kInsertFile =
    u"Insert Into CdRomListDt (DiskCode, FileName, FileSize, FileData, FilePath) values (?, ?, ?, ?, ?)"_s;
const QString kMasksOfCategory = u"select extCode, extDetailInfo  from extDt  Where extCode = ?"_s;

DiscRecord discOf(TQuery &query)
{
    return {query.FieldByName(u"DiskCode"_s).AsInteger(), query.FieldByName(u"DiskName"_s).AsString(),
            query.FieldByName(u"DiskLabel"_s).AsString(), query.FieldByName(u"DiskSerial"_s).AsString()};
}

QStringList masksOf(const QString &connectionName, const QVariant &category)
{
    QSqlQuery masks =
        runStatement(connectionName, u"select extDetailInfo from extDt where extCode = ? order by rowid"_s, {category});
    QStringList list;
    while (masks.next())
        list.append(masks.value(0).toString());
    return list;
}

} // namespace

SqliteCatalogue::SqliteCatalogue(TdmQL &dm, TLCommFunction &commFunction)
    : m_dm(dm)
    , m_commFunction(commFunction)
{
}

QString SqliteCatalogue::connectionName() const
{
    return m_dm.aConQl.connectionName();
}

std::optional<DiscRecord> SqliteCatalogue::firstDisc(const QString &statement, const QVariant &value)
{
    TQuery &disc = *m_dm.aqryTempFind;
    disc.Close();
    disc.SQL() = {statement};
    disc.Params() = {value};
    disc.Open();
    std::optional<DiscRecord> found;
    if (disc.RecordCount() > 0)
        found = discOf(disc);
    disc.Close();
    return found;
}

std::optional<DiscRecord> SqliteCatalogue::disc(qint64 code)
{
    return firstDisc(kDiscColumns + u" where DiskCode = ?"_s, code);
}

std::optional<DiscRecord> SqliteCatalogue::discNamed(const QString &name)
{
    return firstDisc(kDiscColumns + u" where DiskName = ?"_s, name);
}

bool SqliteCatalogue::discNameTaken(const QString &name)
{
    TQuery &lookup = *m_dm.aqryTempFind;
    lookup.Close();
    lookup.SQL() = {u"Select DiskName From CdRomListMt Where DiskName = ?"_s};
    lookup.Params() = {name};
    lookup.Open();
    const bool taken = lookup.RecordCount() > 0;
    lookup.Close();
    return taken;
}

QHash<qint32, QString> SqliteCatalogue::discNames()
{
    QHash<qint32, QString> names;
    QSqlQuery discs = runStatement(connectionName(), u"select DiskCode, DiskName from CdRomListMt"_s);
    while (discs.next())
        names.insert(qint32(discs.value(0).toLongLong()), discs.value(1).toString());
    return names;
}

QList<DiscSummary> SqliteCatalogue::discSummaries()
{
    QSqlQuery discs = runStatement(
        connectionName(), u"select DiskCode, DiskName, DiskLabel, DiskSerial, (select count(*) from CdRomListDt f "
                          "where f.DiskCode = m.DiskCode) from CdRomListMt m order by DiskName COLLATE LOCALE"_s);
    QList<DiscSummary> summaries;
    while (discs.next())
        summaries.append({{discs.value(0).toLongLong(), discs.value(1).toString(), discs.value(2).toString(),
                           discs.value(3).toString()},
                          discs.value(4).toLongLong()});
    return summaries;
}

qint64 SqliteCatalogue::insertDisc(const DiscRecord &disc)
{
    TQuery &insert = *m_dm.aqryTempFind;
    insert.Close();
    insert.SQL() = {kInsertDisc};
    insert.Params() = {disc.name, disc.label, disc.serial};
    insert.ExecSQL();
    return insert.LastInsertId();
}

qint64 SqliteCatalogue::insertFile(const FileRecord &file)
{
    TQuery &insert = *m_dm.aqryTempFind;
    // The statement stays as it is from one file to the next, so it is prepared once.
    if (insert.SQL().size() != 1 || insert.SQL().first() != kInsertFile) {
        insert.Close();
        insert.SQL() = {kInsertFile};
    }
    insert.Params() = {file.disc, file.name, file.size, file.date, file.folder};
    insert.ExecSQL();
    return insert.LastInsertId();
}

void SqliteCatalogue::markArchiveMember(qint64 fileRow)
{
    runStatement(connectionName(), u"insert into ArchiveMember (FileRow) values (?)"_s, {fileRow});
}

bool SqliteCatalogue::isArchiveMember(qint64 fileRow)
{
    return runStatement(connectionName(), u"select 1 from ArchiveMember where FileRow = ?"_s, {fileRow}).next();
}

void SqliteCatalogue::openSearch(TQuery &query, const FileSearchRequest &request, SearchStatement::IndexUse use)
{
    SearchStatement::open(query, request, use);
}

std::vector<qint64> SqliteCatalogue::fileKeysOfDisc(qint64 disc, const FileKeyReads::Going &going)
{
    return FileKeyReads(connectionName()).ofDisc(disc, going);
}

std::vector<qint64> SqliteCatalogue::hitKeys(const TQuery &search, const FileKeyReads::Going &going)
{
    const SearchStatement::KeyStatement keys = SearchStatement::keysOf(search);
    return FileKeyReads(connectionName()).ofStatement(keys.text, keys.values, going);
}

void SqliteCatalogue::readFiles(std::span<const qint64> keys,
                                const std::function<void(size_t, const FileRecord &)> &take)
{
    if (!m_readFault.isEmpty())
        throw DbError(m_readFault);
    FileKeyReads(connectionName()).records(keys, take);
}

std::vector<QString> SqliteCatalogue::fileTexts(std::span<const qint64> keys, FileField field)
{
    return FileKeyReads(connectionName()).texts(keys, field);
}

std::vector<qint64> SqliteCatalogue::fileDiscs(std::span<const qint64> keys)
{
    return FileKeyReads(connectionName()).discs(keys);
}

int SqliteCatalogue::openCategoryMasks(TQuery &masks, qint64 category)
{
    return m_commFunction.OpenSql(masks, kMasksOfCategory, {category});
}

QList<CategoryRecord> SqliteCatalogue::categories()
{
    QSqlQuery found = runStatement(connectionName(), u"select extCode, extName from extMt order by extCode"_s);
    QList<CategoryRecord> list;
    while (found.next())
        list.append(
            {found.value(0).toLongLong(), found.value(1).toString(), masksOf(connectionName(), found.value(0))});
    return list;
}

std::optional<CategoryRecord> SqliteCatalogue::categoryNamed(const QString &name)
{
    QSqlQuery found = runStatement(connectionName(), u"select extCode, extName from extMt where extName = ?"_s, {name});
    if (!found.next())
        return std::nullopt;
    return CategoryRecord{found.value(0).toLongLong(), found.value(1).toString(),
                          masksOf(connectionName(), found.value(0))};
}
