// Opens the catalogue of a program directory and closes it again, which compacts it.
// "copy", "flush" or "replace" kill the process just before that step of the compaction;
// "loop" opens and closes the catalogue until the process is killed from outside.
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        return 2;
    TLCommFunction comm;
    TLCommBusiness business(comm);
    const QString mode = args.at(2);
    if (mode == u"loop"_s) {
        std::puts("started");
        std::fflush(stdout);
        for (;;)
            TdmQL(args.at(1), comm, business);
    }
    const TdmQL::CompactStep target = mode == u"copy"_s    ? TdmQL::CompactStep::Copy
                                      : mode == u"flush"_s ? TdmQL::CompactStep::Flush
                                                           : TdmQL::CompactStep::Replace;
    TdmQL dm(args.at(1), comm, business);
    if (!dm.Connected())
        return 1;
    dm.setCompactFaultHook([target](TdmQL::CompactStep step) {
        if (step == target)
            std::raise(SIGKILL);
    });
    return 0;
}
