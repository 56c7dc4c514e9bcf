// quillon-mkdb: writes a new, empty catalogue file for Quillon.
#include "store/DbError.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

int usage(QTextStream &err)
{
    err << "usage: quillon-mkdb [--empty] [--if-missing] PATH\n"
           "  Writes a Quillon catalogue to PATH; an existing file is never overwritten.\n"
           "  --empty       no extension categories (by default a few common ones)\n"
           "  --if-missing  do nothing, successfully, when PATH exists\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    bool empty = false;
    bool ifMissing = false;
    QString path;
    for (const QString &arg : QCoreApplication::arguments().mid(1)) {
        if (arg == u"--empty"_s)
            empty = true;
        else if (arg == u"--if-missing"_s)
            ifMissing = true;
        else if (arg.startsWith(u'-') || !path.isEmpty())
            return usage(err);
        else
            path = arg;
    }
    if (path.isEmpty())
        return usage(err);
    if (ifMissing && QFileInfo::exists(path))
        return 0;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        err << "quillon-mkdb: cannot create the folder of " << path << "\n";
        return 1;
    }
    try {
        CatalogueSchema::create(path, !empty);
    } catch (const DbError &error) {
        err << "quillon-mkdb: " << error.message() << "\n";
        return 1;
    }
    return 0;
}
