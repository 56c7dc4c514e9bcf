#include "CommandLine.h"
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

// Reads the command line before anything else, without a display: --help, --version and
// a bad option end the program here.
CommandLine readCommandLine(int &argc, char *argv[])
{
    const QCoreApplication reading(argc, argv);
    Startup::nameApplication();
    // The interface's language, also for Qt's own texts of the help ("用法：", "选项：").
    InterfaceLanguage::apply(InterfaceLanguage::saved());
    return CommandLine::parse(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
}

// The catalogue to open; the user's own is made on the first start.
QString catalogueFile(const CommandLine &line, ErrorPresenter &presenter)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString file = CatalogueLocation::resolve(programDir, line.catalogueFile);
    if (line.catalogueFile.isEmpty() && !CatalogueLocation::isPortable(programDir)) {
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
    const CommandLine line = readCommandLine(argc, argv);
    if (line.outcome != CommandLine::Outcome::Run) {
        const bool failed = line.outcome == CommandLine::Outcome::Error;
        std::fputs(line.text.toLocal8Bit().constData(), failed ? stderr : stdout);
        return failed ? 2 : 0;
    }
    ErrorDialogPresenter presenter;
    TLCommFunction commFunction(&presenter);
    TLCommBusiness commBusiness(commFunction);

    // A second start ends here, silently, before any window or catalogue work.
    SingleInstance instance;
    if (!instance.acquire())
        return 0;

    QApplication app(argc, argv);
    Startup::nameApplication();
    InterfaceLanguage::apply(InterfaceLanguage::saved());
    QtPrompts prompts;
    attachCdImages(presenter);
    const QString catalogue = catalogueFile(line, presenter);
    if (catalogue.isEmpty())
        return 1;
    return Startup::run(QCoreApplication::applicationDirPath(), catalogue, commFunction, commBusiness, prompts);
}
