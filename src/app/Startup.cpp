#include "Startup.h"

#include "FrmMain.h"
#include "TerminationSignals.h"
#include "store/DmQL.h"

#include <QApplication>

using namespace Qt::StringLiterals;

QString Startup::applicationTitle()
{
    return u"Quillon系列软件之-光盘索引库"_s;
}

int Startup::run(const QString &programDir, TLCommFunction &commFunction, TLCommBusiness &commBusiness,
                 Prompts &prompts)
{
    QCoreApplication::setApplicationName(applicationTitle());
    TdmQL dmQL(programDir, commFunction, commBusiness);
    if (!dmQL.Connected())
        return 1;
    TfrmMain frmMain(dmQL, commFunction, prompts);
    // A logout or Ctrl+C closes the window as its close box does, so the catalogue is
    // compacted as after any normal run.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &frmMain, [&frmMain] {
        frmMain.close();
        QCoreApplication::quit();
    });
    frmMain.show();
    return QApplication::exec();
}
