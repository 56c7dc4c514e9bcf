#include "CatalogueLocation.h"

#include "DbError.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString CatalogueLocation::portableFile(const QString &programDir)
{
    return QDir(programDir).filePath(u"data/dbQL.mdb"_s);
}

bool CatalogueLocation::isPortable(const QString &programDir)
{
    return QFileInfo(QDir(programDir).filePath(u"data"_s)).isDir();
}

QString CatalogueLocation::userFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(u"dbQL.mdb"_s);
}

QString CatalogueLocation::resolve(const QString &programDir, const QString &namedFile)
{
    if (!namedFile.isEmpty())
        return QFileInfo(namedFile).absoluteFilePath();
    return isPortable(programDir) ? portableFile(programDir) : userFile();
}

void CatalogueLocation::createUserFileIfMissing()
{
    const QString file = userFile();
    if (QFileInfo::exists(file))
        return;
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder))
        throw DbError(QCoreApplication::translate("CatalogueLocation", "无法建立文件夹 %1")
                          .arg(QDir::toNativeSeparators(folder)));
    CatalogueSchema::create(file, true);
}
