#include "TestProgramDir.h"

#include "store/Schema.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

TestProgramDir::TestProgramDir(Catalogue catalogue)
{
    m_path = m_tmp.path() + u"/光盘 索引 program"_s;
    QDir().mkpath(m_path + u"/data"_s);
    if (catalogue != Catalogue::None)
        CatalogueSchema::create(this->catalogue(), catalogue == Catalogue::WithCategories);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
