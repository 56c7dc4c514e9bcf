#include "DiscRecordsSchema.h"

#include "Statement.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;

bool DiscRecordsSchema::present(const QString &connectionName)
{
    QSqlQuery query = runStatement(connectionName,
                                   u"select count(*) from sqlite_schema where type = 'table' and name in "
                                   "('DiscImport', 'DiscDetails', 'DiscLending')"_s);
    return query.next() && query.value(0).toInt() == 3;
}

// DiscImport.Options is a JSON object of the import's choices, so that a new choice adds a
// key rather than a column. Dates are DateText (ImportedAt) or yyyy-MM-dd (lendings).
QStringList DiscRecordsSchema::createStatements()
{
    return {
        u"CREATE TABLE DiscImport ("
        "  DiskCode INTEGER PRIMARY KEY REFERENCES CdRomListMt(DiskCode) ON DELETE CASCADE,"
        "  ImportedAt TEXT NOT NULL,"
        "  CategoryName TEXT NOT NULL DEFAULT '',"
        "  CategoryMasks TEXT NOT NULL DEFAULT '',"
        "  SourceKind TEXT NOT NULL DEFAULT 'drive',"
        "  SourceLetter TEXT NOT NULL DEFAULT '',"
        "  SourceLabel TEXT NOT NULL DEFAULT '',"
        "  SourceSerial TEXT NOT NULL DEFAULT '',"
        "  SourcePath TEXT NOT NULL DEFAULT '',"
        "  Options TEXT NOT NULL DEFAULT '{}' CHECK (json_valid(Options)))"_s,
        u"CREATE TABLE DiscDetails ("
        "  DiskCode INTEGER PRIMARY KEY REFERENCES CdRomListMt(DiskCode) ON DELETE CASCADE,"
        "  Location TEXT NOT NULL DEFAULT '',"
        "  Note TEXT NOT NULL DEFAULT '',"
        "  Keywords TEXT NOT NULL DEFAULT '')"_s,
        u"CREATE TABLE DiscLending ("
        "  LendingCode INTEGER PRIMARY KEY AUTOINCREMENT,"
        "  DiskCode INTEGER NOT NULL REFERENCES CdRomListMt(DiskCode) ON DELETE CASCADE,"
        "  Borrower TEXT NOT NULL,"
        "  LentOn TEXT NOT NULL,"
        "  ReturnedOn TEXT)"_s,
        u"CREATE INDEX DiscLending_DiskCode ON DiscLending(DiskCode)"_s,
        u"CREATE UNIQUE INDEX DiscLending_Out ON DiscLending(DiskCode) WHERE ReturnedOn IS NULL"_s,
    };
}
