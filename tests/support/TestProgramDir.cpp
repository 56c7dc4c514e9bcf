#include "TestProgramDir.h"

#include "store/CompactionFolder.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

TestProgramDir::TestProgramDir(Catalogue catalogue)
{
    m_path = m_tmp.path() + u"/光盘 索引 program"_s;
    QDir().mkpath(m_path + u"/data"_s);
    if (catalogue != Catalogue::None)
        CatalogueSchema::create(this->catalogue(), catalogue == Catalogue::WithCategories);
}

bool TestProgramDir::compactionLeftBehind() const
{
    return !CompactionFolder::leftovers(catalogue()).isEmpty() || QFileInfo::exists(dataDir() + u"/TempdbQL.mdb"_s);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TestProgramDir::freeSomePages(const QString &file) const
{
    const QString name = QStringLiteral("free-pages");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file.isEmpty() ? catalogue() : file);
        if (db.open()) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("CREATE TABLE Filler (x)"));
            query.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
                                      "INSERT INTO Filler SELECT randomblob(4000) FROM n"));
            query.exec(QStringLiteral("DROP TABLE Filler"));
        }
    }
    QSqlDatabase::removeDatabase(name);
}
