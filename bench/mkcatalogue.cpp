// bench-mkcatalogue PROGRAM_DIR [--discs N] [--files-per-disc N] [--big N] [--huge N]
//                   [--realistic] [--without-index]
// Writes PROGRAM_DIR/data/dbQL.mdb through the program's own store: N discs of
// files-per-disc records each ("disc 0001" …), one disc "big" with --big records and,
// when asked, one disc "huge" with --huge records. The same arguments give the same file.
// --realistic: names and folders of real discs' lengths (bench::realisticName);
// --without-index: a catalogue as written before the search index existed.
#include "BenchSupport.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "store/Schema.h"
#include "store/SearchIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

quint64 g_fileNumber = 0;
bool g_realistic = false;

void addDisc(TdmQL &dm, TLCommFunction &comm, const QString &name, int files)
{
    comm.ExecSql(*dm.aqryTempFind, u"Insert Into CdRomListMt (DiskName, DiskLabel, DiskSerial) values (?, ?, ?)"_s,
                 {name, name.toUpper(), u"%1"_s.arg(g_fileNumber % 0xFFFFFFFF, 8, 16, QChar(u'0')).toUpper()});
    comm.OpenSql(*dm.aqryTempFind, u"Select DiskCode From CdRomListMt Where DiskName = ?"_s, {name});
    const qint64 code = dm.aqryTempFind->FieldByName(u"DiskCode"_s).AsInteger();
    TQuery &insert = *dm.aqryTempFind;
    insert.Close();
    insert.SQL() = {
        u"Insert Into CdRomListDt (DiskCode, FileName, FileSize, FileData, FilePath) values (?, ?, ?, ?, ?)"_s};
    dm.aConQl.BeginTrans();
    for (int i = 0; i < files; ++i, ++g_fileNumber) {
        insert.Params() = {code, g_realistic ? bench::realisticName(g_fileNumber) : bench::fileName(g_fileNumber),
                           bench::fileSize(g_fileNumber), bench::fileDate(g_fileNumber),
                           g_realistic ? bench::realisticPath(g_fileNumber) : bench::filePath(g_fileNumber)};
        insert.ExecSQL();
    }
    dm.aConQl.CommitTrans();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream(stderr)
            << "usage: bench-mkcatalogue PROGRAM_DIR [--discs N] [--files-per-disc N] [--big N] [--huge N]\n";
        return 2;
    }
    const QString dir = args.takeFirst();
    int discs = 1000, perDisc = 900, big = 100000, huge = 0;
    g_realistic = args.removeAll(u"--realistic"_s) > 0;
    const bool withoutIndex = args.removeAll(u"--without-index"_s) > 0;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        const int value = args[i + 1].toInt();
        if (args[i] == u"--discs"_s)
            discs = value;
        else if (args[i] == u"--files-per-disc"_s)
            perDisc = value;
        else if (args[i] == u"--big"_s)
            big = value;
        else if (args[i] == u"--huge"_s)
            huge = value;
    }
    bench::newCatalogue(dir);
    TLCommFunction comm;
    TLCommBusiness business(comm);
    QElapsedTimer timer;
    timer.start();
    {
        TdmQL dm(dir, comm, business);
        if (withoutIndex)
            SearchIndex::remove(dm.aConQl.connectionName());
        for (int d = 0; d < discs; ++d)
            addDisc(dm, comm, u"disc %1"_s.arg(d + 1, 4, 10, QChar(u'0')), perDisc);
        if (big > 0)
            addDisc(dm, comm, u"big"_s, big);
        if (huge > 0)
            addDisc(dm, comm, u"huge"_s, huge);
        // The program would index the new rows after showing its window: done here, so that
        // benchmarks measure a catalogue at rest.
        const QString connection = dm.aConQl.connectionName();
        while (!withoutIndex && SearchIndex::progress(connection)->tail() > 0)
            SearchIndex::buildBatch(connection, 50000);
    }
    QTextStream(stdout) << "wrote " << g_fileNumber << " file records in " << timer.elapsed() << " ms\n";
    return 0;
}
