#include "QtTranslations.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TerminationSignals.h"
#include "drives/CdImageOption.h"
#include "drives/platform/Platform.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/ErrorDialogPresenter.h"
#include "ui/QtPrompts.h"

#include <QApplication>

namespace {
// Images named with --cd-image become virtual CD-ROM drives before anything asks for the
// drives. One that cannot be attached is reported, and the program goes on without it.
void attachCdImages(ErrorPresenter &presenter)
{
    const auto failures = CdImageOption::attachAll(QCoreApplication::arguments(), Platform::instance());
    for (const CdImageOption::Failure &failure : failures)
        presenter.showError(failure.message, failure.details, Startup::applicationTitle());
}
} // namespace

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
    QtTranslations::install(app);
    QtPrompts prompts;
    attachCdImages(presenter);
    return Startup::run(QCoreApplication::applicationDirPath(), commFunction, commBusiness, prompts);
}
