#include "Startup.h"

#include "FrmMain.h"
#include "QuillonVersion.h"
#include "TerminationSignals.h"
#include "store/DmQL.h"
#include "ui/ApplicationTitle.h"

#include <QApplication>

using namespace Qt::StringLiterals;

QString Startup::applicationTitle()
{
    return u"Quillon系列软件之-光盘索引库"_s;
}

void Startup::nameApplication()
{
    QCoreApplication::setApplicationName(u"Quillon"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_FILE_VERSION));
}

int Startup::run(const QString &programDir, const QString &catalogueFile, TLCommFunction &commFunction,
                 TLCommBusiness &commBusiness, Prompts &prompts)
{
    nameApplication();
    ApplicationTitle::set(applicationTitle());
    TdmQL dmQL(programDir, catalogueFile, commFunction, commBusiness);
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
