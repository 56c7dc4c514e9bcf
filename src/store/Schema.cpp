#include "Schema.h"

#include "DbError.h"
#include "SearchIndex.h"
#include "TransactionScope.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <cstdio>

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

void exec(QSqlQuery &query, const QString &text, const QVariantList &values = {})
{
    if (!query.prepare(text))
        throw DbError(query.lastError().databaseText());
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throw DbError(query.lastError().databaseText());
}

int userVersion(QSqlQuery &query)
{
    exec(query, u"PRAGMA user_version"_s);
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
    default:
        return {};
    }
}

void writeCategories(QSqlQuery &query)
{
    for (const CatalogueSchema::Category &category : CatalogueSchema::defaultCategories()) {
        exec(query, u"INSERT INTO extMt (extName) VALUES (?)"_s, {category.name});
        const QVariant code = query.lastInsertId();
        for (const QString &mask : category.masks)
            exec(query, u"INSERT INTO extDt (extCode, extDetailInfo) VALUES (?, ?)"_s, {code, mask});
    }
}

void writeTables(const QString &connectionName, bool withCategories)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!db.open())
        throw DbError(db.lastError().databaseText());
    QSqlQuery query(db);
    exec(query, u"BEGIN"_s);
    for (const QString &statement : kDdl)
        exec(query, statement);
    for (const QString &statement : SearchIndex::createStatements() + SearchIndex::createReadingStatements())
        exec(query, statement);
    exec(query, u"PRAGMA user_version = %1"_s.arg(CatalogueSchema::CurrentVersion));
    if (withCategories)
        writeCategories(query);
    exec(query, u"COMMIT"_s);
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
    if (!query.exec(u"PRAGMA application_id"_s) || !query.next())
        throw DbError(query.lastError().databaseText());
    if (query.value(0).toInt() != ApplicationId)
        throw DbError(QCoreApplication::translate("CatalogueSchema", "这个文件不是光盘索引库 (application_id %1)")
                          .arg(query.value(0).toInt()));
    for (const QStringList &table : kTables) {
        if (!query.prepare(u"SELECT name FROM pragma_table_info(?)"_s))
            throw DbError(query.lastError().databaseText());
        query.bindValue(0, table.first());
        if (!query.exec())
            throw DbError(query.lastError().databaseText());
        QStringList present;
        while (query.next())
            present.append(query.value(0).toString().toLower());
        for (const QString &column : table.mid(1))
            if (!present.contains(column.toLower()))
                throw DbError(QCoreApplication::translate("CatalogueSchema", "这个文件不是光盘索引库 (缺少 %1.%2)")
                                  .arg(table.first(), column));
    }
}

void CatalogueSchema::upgrade(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QSqlQuery query(db);
    for (int version = userVersion(query) + 1; version <= CurrentVersion; ++version) {
        TransactionScope transaction(db);
        for (const QString &statement : upgradeStatements(version))
            exec(query, statement);
        exec(query, u"PRAGMA user_version = %1"_s.arg(version));
        query.finish();
        transaction.commit();
    }
}
