#include "Schema.h"

#include "DbError.h"
#include "DiscRecordsSchema.h"
#include "DiscVerifications.h"
#include "FileChecksums.h"
#include "ImportRecord.h"
#include "SearchIndex.h"
#include "Statement.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QStringList kTables[] = {
    {u"CdRomListMt"_s, u"DiskCode"_s, u"DiskLabel"_s, u"DiskName"_s, u"DiskSerial"_s},
    {u"CdRomListDt"_s, u"DiskCode"_s, u"FileData"_s, u"FileName"_s, u"FilePath"_s, u"FileSize"_s},
    {u"extMt"_s, u"extCode"_s, u"extName"_s},
    {u"extDt"_s, u"extCode"_s, u"extDetailInfo"_s},
};

// FileData holds DateText: "yyyy-MM-dd HH:mm:ss", or "yyyy-MM-dd" at midnight.
const QString kDdl[] = {
    u"PRAGMA application_id = %1"_s.arg(CatalogueSchema::ApplicationId),
    u"CREATE TABLE CdRomListMt ("
    "  DiskCode INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  DiskLabel TEXT,"
    "  DiskName TEXT COLLATE NOCASE,"
    "  DiskSerial TEXT)"_s,
    u"CREATE TABLE CdRomListDt ("
    "  DiskCode INTEGER NOT NULL REFERENCES CdRomListMt(DiskCode) ON DELETE CASCADE,"
    "  FileData TEXT CHECK (FileData IS NULL OR ifnull(FileData = datetime(FileData), 0)"
    "                       OR ifnull(FileData = date(FileData), 0)),"
    "  FileName TEXT,"
    "  FilePath TEXT,"
    "  FileSize TEXT)"_s,
    u"CREATE INDEX CdRomListDt_DiskCode ON CdRomListDt(DiskCode)"_s,
    u"CREATE TABLE extMt ("
    "  extCode INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  extName TEXT COLLATE NOCASE)"_s,
    u"CREATE TABLE extDt ("
    "  extCode INTEGER NOT NULL REFERENCES extMt(extCode) ON DELETE CASCADE,"
    "  extDetailInfo TEXT COLLATE NOCASE)"_s,
    u"CREATE INDEX extDt_extCode ON extDt(extCode)"_s,
};

int userVersion(QSqlQuery &query)
{
    runStatement(query, u"PRAGMA user_version"_s);
    const int version = query.next() ? query.value(0).toInt() : 0;
    query.finish();
    return version;
}

// The numbered steps from one version of the catalogue to the next: step n turns version
// n - 1 into version n.
QStringList upgradeStatements(int version)
{
    switch (version) {
    case 2: // the search index, empty: filled in batches while the program runs
        return SearchIndex::createStatements();
    case 3: // the pinyin of names and folders, empty: read in batches while the program runs
        return SearchIndex::createReadingStatements();
    case 4: // each disc's import record, details and lendings
        return DiscRecordsSchema::createStatements();
    case 5: // the checksums of files, stored by imports that compute them
        return FileChecksums::createStatements();
    case 6: // which file records are files inside archives, gone with their records
        return {u"CREATE TABLE ArchiveMember (FileRow INTEGER PRIMARY KEY)"_s,
                u"CREATE TRIGGER ArchiveMember_Gone AFTER DELETE ON CdRomListDt BEGIN"
                " DELETE FROM ArchiveMember WHERE FileRow = old.rowid; END"_s};
    case 7: // the volume each folder import lay on, so that an update finds it again
        return ImportRecordStore::volumeStatements();
    case 8: // the verifications of discs against their catalogue
        return DiscVerificationStore::createStatements();
    default:
        return {};
    }
}

// An object a statement of the program creates, as sqlite_schema lists it.
struct SchemaObject {
    QString type; // table, index, trigger or view
    QString name;
    QString sql;
};

std::optional<SchemaObject> objectOf(const QString &statement)
{
    const QStringList words = statement.simplified().split(u' ');
    if (words.size() < 4 || words.at(0) != u"CREATE"_s)
        return std::nullopt;
    const bool isVirtual = words.at(1) == u"VIRTUAL"_s;
    const QString type = (isVirtual ? words.at(2) : words.at(1)).toLower();
    const QString name = words.at(isVirtual ? 3 : 2).section(u'(', 0, 0);
    return SchemaObject{type, name, statement};
}

// The program's objects in a catalogue of that version (one it can write).
QList<SchemaObject> ownObjects(int version)
{
    QStringList statements(std::begin(kDdl), std::end(kDdl));
    for (int step = 2; step <= std::min(version, CatalogueSchema::CurrentVersion); ++step)
        statements += upgradeStatements(step);
    QList<SchemaObject> objects;
    for (const QString &statement : statements)
        if (const std::optional<SchemaObject> object = objectOf(statement))
            objects.append(*object);
    return objects;
}

QList<SchemaObject> fileObjects(QSqlQuery &query)
{
    runStatement(query, u"SELECT type, name, sql FROM sqlite_schema WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"_s);
    QList<SchemaObject> objects;
    while (query.next())
        objects.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
    query.finish();
    return objects;
}

// The names the program reads as tables must be tables, in a catalogue of any version: a
// view in a table's place would run whatever it says at every read.
void refuseViewsAsTables(const QList<SchemaObject> &objects)
{
    const QList<SchemaObject> own = ownObjects(CatalogueSchema::CurrentVersion);
    for (const SchemaObject &object : objects)
        for (const SchemaObject &table : own)
            if (table.type == u"table"_s && object.name.compare(table.name, Qt::CaseInsensitive) == 0 &&
                object.type != u"table"_s)
                throw DbError(QCoreApplication::translate("CatalogueSchema", "这个文件不是光盘索引库 (%1 不是表)")
                                  .arg(object.name));
}

// A catalogue set back to an earlier version (tests, benchmarks) may hold the triggers of a
// later step: they are the program's own as long as their text is.
void refuseForeignCode(const QList<SchemaObject> &objects)
{
    const QList<SchemaObject> own = ownObjects(CatalogueSchema::CurrentVersion);
    QStringList foreign;
    for (const SchemaObject &object : objects) {
        if (object.type != u"trigger"_s && object.type != u"view"_s)
            continue;
        const bool ours = std::any_of(own.cbegin(), own.cend(), [&](const SchemaObject &mine) {
            return mine.type == object.type && mine.name == object.name && mine.sql == object.sql;
        });
        if (!ours)
            foreign.append(object.name);
    }
    if (!foreign.isEmpty())
        throw DbError(QCoreApplication::translate("CatalogueSchema",
                                                  "这个光盘索引库含有不是本程序建立的触发器或视图：%1")
                          .arg(foreign.join(u", "_s)));
}

// Drops what is left of one numbered step's derived tables and writes them anew, empty.
void rewriteStep(QSqlQuery &query, const QStringList &statements)
{
    for (const QString &statement : statements)
        if (const std::optional<SchemaObject> object = objectOf(statement); object && object->type == u"trigger"_s)
            runStatement(query, u"DROP TRIGGER IF EXISTS "_s + object->name);
    for (const QString &statement : statements)
        if (const std::optional<SchemaObject> object = objectOf(statement); object && object->type == u"table"_s)
            runStatement(query, u"DROP TABLE IF EXISTS "_s + object->name);
    for (const QString &statement : statements)
        runStatement(query, statement);
}

// Whether the file holds the object a statement creates (no: a statement that creates none).
bool alreadyMade(const QString &statement, const QList<SchemaObject> &present)
{
    const std::optional<SchemaObject> object = objectOf(statement);
    return object && std::any_of(present.cbegin(), present.cend(), [&](const SchemaObject &found) {
        return found.type == object->type && found.name == object->name;
    });
}

// Whether the file holds every object of a step's statements.
bool wholeStep(const QStringList &statements, const QList<SchemaObject> &present)
{
    return std::all_of(statements.cbegin(), statements.cend(), [&](const QString &statement) {
        return !objectOf(statement) || alreadyMade(statement, present);
    });
}

// Runs the statements of a step but those creating objects the file holds.
void addMissing(QSqlQuery &query, const QStringList &statements, const QList<SchemaObject> &present)
{
    for (const QString &statement : statements)
        if (!alreadyMade(statement, present))
            runStatement(query, statement);
}

// The steps whose tables are made from the file records again (the search index and its
// pinyin); the others keep data nothing else holds.
bool isDerived(int step)
{
    return step == 2 || step == 3;
}

void writeCategories(QSqlQuery &query)
{
    for (const CatalogueSchema::Category &category : CatalogueSchema::defaultCategories()) {
        runStatement(query, u"INSERT INTO extMt (extName) VALUES (?)"_s, {category.name});
        const QVariant code = query.lastInsertId();
        for (const QString &mask : category.masks)
            runStatement(query, u"INSERT INTO extDt (extCode, extDetailInfo) VALUES (?, ?)"_s, {code, mask});
    }
}

void writeTables(const QString &connectionName, bool withCategories)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!db.open())
        throw DbError(db.lastError().databaseText());
    QSqlQuery query(db);
    runStatement(query, u"BEGIN"_s);
    for (const QString &statement : kDdl)
        runStatement(query, statement);
    for (int step = 2; step <= CatalogueSchema::CurrentVersion; ++step)
        for (const QString &statement : upgradeStatements(step))
            runStatement(query, statement);
    runStatement(query, u"PRAGMA user_version = %1"_s.arg(CatalogueSchema::CurrentVersion));
    if (withCategories)
        writeCategories(query);
    runStatement(query, u"COMMIT"_s);
    query = QSqlQuery();
    db.close();
}

} // namespace

QList<CatalogueSchema::Category> CatalogueSchema::defaultCategories()
{
    return {
        {u"音乐"_s, {u"*.mp3"_s, u"*.wav"_s, u"*.wma"_s, u"*.flac"_s, u"*.ape"_s}},
        {u"视频"_s, {u"*.avi"_s, u"*.mp4"_s, u"*.mkv"_s, u"*.rmvb"_s, u"*.wmv"_s, u"*.mpg"_s, u"*.mov"_s}},
        {u"图片"_s, {u"*.jpg"_s, u"*.jpeg"_s, u"*.png"_s, u"*.gif"_s, u"*.bmp"_s, u"*.tif"_s}},
        {u"文档"_s, {u"*.txt"_s, u"*.doc"_s, u"*.docx"_s, u"*.pdf"_s, u"*.xls"_s, u"*.xlsx"_s, u"*.ppt"_s}},
        {u"全部文件"_s, {u"*.*"_s}},
    };
}

void CatalogueSchema::create(const QString &path, bool withCategories)
{
    if (QFileInfo::exists(path))
        throw DbError(QCoreApplication::translate("CatalogueSchema", "文件已存在，不会覆盖：%1").arg(path));
    const QString part = path + u".part"_s;
    QFile::remove(part);
    const QString name = u"quillon-create-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    try {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
            db.setDatabaseName(part);
        }
        writeTables(name, withCategories);
    } catch (...) {
        QSqlDatabase::removeDatabase(name);
        QFile::remove(part);
        throw;
    }
    QSqlDatabase::removeDatabase(name);
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(part);
        throw DbError(QCoreApplication::translate("CatalogueSchema", "无法写入文件：%1").arg(path));
    }
}

void CatalogueSchema::verify(const QString &connectionName)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    runStatement(query, u"PRAGMA application_id"_s);
    if (!query.next())
        throw DbError(engineMessage(query.lastError()));
    if (query.value(0).toInt() != ApplicationId)
        throw DbError(QCoreApplication::translate("CatalogueSchema", "这个文件不是光盘索引库 (application_id %1)")
                          .arg(query.value(0).toInt()));
    for (const QStringList &table : kTables) {
        runStatement(query, u"SELECT name FROM pragma_table_info(?)"_s, {table.first()});
        QStringList present;
        while (query.next())
            present.append(query.value(0).toString().toLower());
        for (const QString &column : table.mid(1))
            if (!present.contains(column.toLower()))
                throw DbError(QCoreApplication::translate("CatalogueSchema", "这个文件不是光盘索引库 (缺少 %1.%2)")
                                  .arg(table.first(), column));
    }
    const QList<SchemaObject> objects = fileObjects(query);
    refuseViewsAsTables(objects);
    const int fileVersion = userVersion(query);
    if (fileVersion <= CurrentVersion)
        refuseForeignCode(objects);
}

int CatalogueSchema::version(const QString &connectionName)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    return userVersion(query);
}

void CatalogueSchema::upgrade(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QSqlQuery query(db);
    for (int version = userVersion(query) + 1; version <= CurrentVersion; ++version) {
        Transaction transaction(connectionName);
        // A catalogue set back to an earlier version (tests, benchmarks) may hold a later
        // step's objects already.
        const QList<SchemaObject> present = fileObjects(query);
        const QStringList statements = upgradeStatements(version);
        if (!wholeStep(statements, present))
            addMissing(query, statements, present);
        runStatement(query, u"PRAGMA user_version = %1"_s.arg(version));
        query.finish();
        transaction.commit();
    }
}

void CatalogueSchema::restoreDerivedTables(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QSqlQuery query(db);
    const QList<SchemaObject> present = fileObjects(query);
    for (int step = 2; step <= std::min(userVersion(query), CurrentVersion); ++step) {
        const QStringList statements = upgradeStatements(step);
        if (wholeStep(statements, present))
            continue;
        Transaction transaction(connectionName);
        if (isDerived(step)) {
            rewriteStep(query, statements);
        } else { // data that cannot be made again: only what is missing is added
            addMissing(query, statements, present);
        }
        query.finish();
        transaction.commit();
    }
}
