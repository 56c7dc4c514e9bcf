#include "CommandLine.h"
#include "InstanceChannel.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TerminationSignals.h"
#include "drives/CdImageOption.h"
#include "drives/platform/Platform.h"
#include "language/Language.h"
#include "store/CatalogueLocation.h"
#include "store/DbError.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/ErrorDialogPresenter.h"
#include "ui/QtPrompts.h"

#include <QApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Images named with --cd-image become virtual CD-ROM drives before anything asks for the
// drives. One that cannot be attached is reported, and the program goes on without it.
void attachCdImages(ErrorPresenter &presenter)
{
    const auto failures = CdImageOption::attachAll(QCoreApplication::arguments(), Platform::instance());
    for (const CdImageOption::Failure &failure : failures)
        presenter.showError(failure.message, failure.details, Startup::applicationTitle());
}

// What the command line asks for, and the catalogue it names.
struct Launch {
    CommandLine line;
    QString programDir;
    QString catalogue;
};

// Reads the command line before anything else, without a display: --help, --version and
// a bad option end the program here.
Launch readCommandLine(int &argc, char *argv[])
{
    const QCoreApplication reading(argc, argv);
    Startup::nameApplication();
    // The interface's language, also for Qt's own texts of the help ("用法：", "选项：").
    InterfaceLanguage::apply(InterfaceLanguage::saved());
    Launch launch{CommandLine::parse(QCoreApplication::arguments(), QCoreApplication::applicationDirPath()),
                  QCoreApplication::applicationDirPath(), QString()};
    launch.catalogue = CatalogueLocation::resolve(launch.programDir, launch.line.catalogueFile);
    return launch;
}

// The catalogue to open; the user's own is made on the first start.
QString catalogueFile(const Launch &launch, ErrorPresenter &presenter)
{
    const QString &file = launch.catalogue;
    if (launch.line.catalogueFile.isEmpty() && !CatalogueLocation::isPortable(launch.programDir)) {
        try {
            CatalogueLocation::createUserFileIfMissing();
        } catch (const DbError &error) {
            presenter.showError(QCoreApplication::translate("Startup", "连接失败"), error.message(),
                                Startup::applicationTitle());
            return QString();
        }
    }
    return file;
}

} // namespace

int main(int argc, char *argv[])
{
    TerminationSignals::install();
    const Launch launch = readCommandLine(argc, argv);
    const CommandLine &line = launch.line;
    if (line.outcome != CommandLine::Outcome::Run) {
        const bool failed = line.outcome == CommandLine::Outcome::Error;
        std::fputs(line.text.toLocal8Bit().constData(), failed ? stderr : stdout);
        return failed ? 2 : 0;
    }
    ErrorDialogPresenter presenter;
    TLCommFunction commFunction(&presenter);
    TLCommBusiness commBusiness(commFunction);

    // A second start for a catalogue that has its window brings that window to the front
    // and ends here, before any window or catalogue work of its own.
    SingleInstance instance(launch.catalogue);
    if (!instance.acquire()) {
        InstanceChannel::askToActivate(instance.socketPath());
        return 0;
    }

    QApplication app(argc, argv);
    // Listening from the start: a second start while this one is still opening its
    // catalogue is answered too (its window comes up in front anyway).
    InstanceServer instanceServer;
    instanceServer.listen(instance.socketPath());
    Startup::nameApplication();
    InterfaceLanguage::apply(InterfaceLanguage::saved());
    QtPrompts prompts;
    attachCdImages(presenter);
    const QString catalogue = catalogueFile(launch, presenter);
    if (catalogue.isEmpty())
        return 1;
    return Startup::run(launch.programDir, catalogue, commFunction, commBusiness, prompts, &instanceServer);
}
