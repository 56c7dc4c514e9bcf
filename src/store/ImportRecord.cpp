#include "ImportRecord.h"

#include "DiscRecordsSchema.h"
#include "Statement.h"

#include <QJsonDocument>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

QString ImportRecord::sourceName(Source source)
{
    switch (source) {
    case Source::Folder:
        return u"folder"_s;
    case Source::Image:
        return u"image"_s;
    case Source::Drive:
        break;
    }
    return u"drive"_s;
}

ImportRecord::Source ImportRecord::sourceOf(const QString &name)
{
    if (name == u"folder"_s)
        return Source::Folder;
    if (name == u"image"_s)
        return Source::Image;
    return Source::Drive;
}

namespace {
// A text that was never set is stored empty: the columns hold no NULL.
QString text(const QString &value)
{
    return value.isNull() ? u""_s : value;
}
} // namespace

void ImportRecordStore::write(const QString &connectionName, qint64 discCode, const ImportRecord &record)
{
    runStatement(connectionName,
                 u"insert into DiscImport (DiskCode, ImportedAt, CategoryName, CategoryMasks, SourceKind, "
                 "SourceLetter, SourceLabel, SourceSerial, SourcePath, Options) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                 {discCode, text(record.importedAt), text(record.category), text(record.masks.join(u'\n')),
                  ImportRecord::sourceName(record.source), text(record.letter), text(record.label),
                  text(record.serial), text(record.path),
                  QString::fromUtf8(QJsonDocument(record.options).toJson(QJsonDocument::Compact))});
    if (!record.volumeUuid.isEmpty())
        runStatement(connectionName,
                     u"insert into DiscImportVolume (DiskCode, VolumeUuid, VolumeLabel, VolumePath) values (?, ?, ?, ?)"_s,
                     {discCode, record.volumeUuid, text(record.volumeLabel), text(record.volumePath)});
}

QList<qint64> ImportRecordStore::folderDiscs(const QString &connectionName)
{
    QList<qint64> codes;
    if (!DiscRecordsSchema::present(connectionName))
        return codes;
    QSqlQuery query = runStatement(
        connectionName, u"select DiskCode from DiscImport where SourceKind = ? order by DiskCode"_s,
        {ImportRecord::sourceName(ImportRecord::Source::Folder)});
    while (query.next())
        codes.append(query.value(0).toLongLong());
    return codes;
}

QStringList ImportRecordStore::volumeStatements()
{
    return {u"CREATE TABLE DiscImportVolume ("
            "  DiskCode INTEGER PRIMARY KEY REFERENCES CdRomListMt(DiskCode) ON DELETE CASCADE,"
            "  VolumeUuid TEXT NOT NULL,"
            "  VolumeLabel TEXT NOT NULL DEFAULT '',"
            "  VolumePath TEXT NOT NULL DEFAULT '')"_s};
}

namespace {
// A catalogue that could not be upgraded (one that may only be read) has no volumes.
bool volumesPresent(const QString &connectionName)
{
    QSqlQuery query = runStatement(
        connectionName, u"select count(*) from sqlite_schema where type = 'table' and name = 'DiscImportVolume'"_s);
    return query.next() && query.value(0).toInt() == 1;
}

void readVolume(const QString &connectionName, qint64 discCode, ImportRecord &record)
{
    if (!volumesPresent(connectionName))
        return;
    QSqlQuery query = runStatement(
        connectionName, u"select VolumeUuid, VolumeLabel, VolumePath from DiscImportVolume where DiskCode = ?"_s,
        {discCode});
    if (!query.next())
        return;
    record.volumeUuid = query.value(0).toString();
    record.volumeLabel = query.value(1).toString();
    record.volumePath = query.value(2).toString();
}
} // namespace

std::optional<ImportRecord> ImportRecordStore::read(const QString &connectionName, qint64 discCode)
{
    if (!DiscRecordsSchema::present(connectionName))
        return {};
    QSqlQuery query = runStatement(connectionName,
                                   u"select ImportedAt, CategoryName, CategoryMasks, SourceKind, SourceLetter, "
                                   "SourceLabel, SourceSerial, SourcePath, Options from DiscImport where DiskCode = ?"_s,
                                   {discCode});
    if (!query.next())
        return std::nullopt;
    ImportRecord record;
    record.importedAt = query.value(0).toString();
    record.category = query.value(1).toString();
    const QString masks = query.value(2).toString();
    record.masks = masks.isEmpty() ? QStringList() : masks.split(u'\n');
    record.source = ImportRecord::sourceOf(query.value(3).toString());
    record.letter = query.value(4).toString();
    record.label = query.value(5).toString();
    record.serial = query.value(6).toString();
    record.path = query.value(7).toString();
    record.options = QJsonDocument::fromJson(query.value(8).toString().toUtf8()).object();
    readVolume(connectionName, discCode, record);
    return record;
}
