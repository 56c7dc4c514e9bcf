#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TerminationSignals.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/ErrorDialogPresenter.h"
#include "ui/QtPrompts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    TerminationSignals::install();
    ErrorDialogPresenter presenter;
    TLCommFunction commFunction(&presenter);
    TLCommBusiness commBusiness(commFunction);

    // A second start ends here, silently, before any window or catalogue work.
    SingleInstance instance;
    if (!instance.acquire())
        return 0;

    QApplication app(argc, argv);
    QtPrompts prompts;
    return Startup::run(QCoreApplication::applicationDirPath(), commFunction, commBusiness, prompts);
}
