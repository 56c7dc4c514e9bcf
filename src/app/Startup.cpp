#include "Startup.h"

#include "FrmMain.h"
#include "InstanceChannel.h"
#include "QuillonVersion.h"
#include "TerminationSignals.h"
#include "store/DmQL.h"
#include "ui/ApplicationTitle.h"

#include <QApplication>
#include <QTimer>

using namespace Qt::StringLiterals;

QString Startup::applicationTitle()
{
    return QCoreApplication::translate("Startup", "Quillon系列软件之-光盘索引库");
}

void Startup::nameApplication()
{
    QCoreApplication::setApplicationName(u"Quillon"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_FILE_VERSION));
}

namespace {

void bringToFront(QWidget &window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

int Startup::run(const QString &programDir, const QString &catalogueFile, TLCommFunction &commFunction,
                 TLCommBusiness &commBusiness, Prompts &prompts, InstanceServer *instanceServer)
{
    nameApplication();
    ApplicationTitle::set(applicationTitle());
    // A logout or Ctrl+C closes the window as its close box does, so the catalogue is
    // compacted as after any normal run. Before the window exists there is nothing to
    // save: the program ends at once, closing the dialog that holds up the start (a failed
    // connection) now or as soon as it shows.
    TerminationSignals termination;
    TfrmMain *window = nullptr;
    bool endStart = false;
    const auto closeDialog = [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
    };
    QTimer dialogCloser;
    dialogCloser.setInterval(50);
    QObject::connect(&dialogCloser, &QTimer::timeout, closeDialog);
    QObject::connect(&termination, &TerminationSignals::terminationRequested, [&] {
        if (window) {
            window->close();
            QCoreApplication::quit();
            return;
        }
        endStart = true;
        dialogCloser.start();
        closeDialog();
    });
    TdmQL dmQL(programDir, catalogueFile, commFunction, commBusiness);
    if (!dmQL.Connected() || endStart)
        return 1;
    TfrmMain frmMain(dmQL, commFunction, prompts);
    window = &frmMain;
    frmMain.show();
    if (instanceServer)
        QObject::connect(instanceServer, &InstanceServer::activationRequested, &frmMain,
                         [&frmMain] { bringToFront(frmMain); });
    return QApplication::exec();
}
