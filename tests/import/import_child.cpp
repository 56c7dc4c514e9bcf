// Imports a folder into the catalogue of a program directory as one disc, the way the
// import does without a window, and closes the catalogue, which compacts it. It prints
// each step as it begins ("scan", "write", "commit", "compact copy|flush|replace",
// "closed"), so a test can kill it in the middle of one.
// Usage: import_child PROGRAM_DIR FOLDER DISC_NAME
#include "FakePlatform.h"
#include "drives/platform/PlatformOverride.h"
#include "import/DiscImport.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "store/ProgressSink.h"
#include "store/SqlFunctions.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <cstdio>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

void step(const char *name)
{
    std::printf("%s\n", name);
    std::fflush(stdout);
}

// Tells when the writer begins; never asks to stop.
class StepProgress : public ProgressSink {
public:
    void SetStatusText(const QString &) override {}
    void SetProgressRange(int, int) override {}
    void SetProgressPosition(int) override {}
    void ReportProgress(const QString &, int) override
    {
        if (!m_writing)
            step("write");
        m_writing = true;
    }
    bool StopRequested() const override { return false; }

private:
    bool m_writing = false;
};

int announceCommit(void *)
{
    step("commit");
    return 0; // go on with the commit
}

const char *compactStep(TdmQL::CompactStep which)
{
    switch (which) {
    case TdmQL::CompactStep::Copy:
        return "compact copy";
    case TdmQL::CompactStep::Flush:
        return "compact flush";
    case TdmQL::CompactStep::Replace:
        return "compact replace";
    }
    return "compact";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    FakePlatform platform;
    platform.addDrive('e').root = args.at(2);
    const PlatformOverride override(platform);
    TLCommFunction comm;
    TLCommBusiness business(comm);
    {
        TdmQL dm(args.at(1), comm, business);
        if (!dm.Connected())
            return 1;
        sqlite3_commit_hook(nativeSqliteHandle(QSqlDatabase::database(dm.aConQl.connectionName())), announceCommit,
                            nullptr);
        dm.setCompactFaultHook([](TdmQL::CompactStep which) { step(compactStep(which)); });
        StepProgress progress;
        step("scan");
        const auto result = DiscImport::run(dm, comm, 'e', u"e:\\"_s, {u"*.*"_s}, args.at(3), progress);
        if (result != DiscImport::Result::Stored)
            return 3;
        // Space freed as a deleted disc would free it, so closing compacts the catalogue
        // (it compacts only where a tenth of its pages would be reclaimed).
        QSqlQuery padding(QSqlDatabase::database(dm.aConQl.connectionName()));
        // A run killed between these statements leaves the table behind.
        if (!padding.exec(u"drop table if exists padding"_s) || !padding.exec(u"create table padding (bytes blob)"_s) ||
            !padding.exec(u"insert into padding values (zeroblob(4194304))"_s) ||
            !padding.exec(u"drop table padding"_s))
            return 4;
    }
    step("closed");
    return 0;
}
