#include "CliCatalogue.h"

#include "store/CatalogueLocation.h"
#include "store/DbError.h"

#include <QCoreApplication>

CliCatalogue::Status CliCatalogue::open(const QString &namedFile, TdmQL::Access access)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    if (namedFile.isEmpty() && !CatalogueLocation::isPortable(programDir)) {
        try {
            CatalogueLocation::createUserFileIfMissing();
        } catch (const DbError &error) {
            m_presenter.showError(QCoreApplication::translate("Cli", "连接失败"), error.message(), QString());
            return CatalogueFailed;
        }
    }
    const QString file = CatalogueLocation::resolve(programDir, namedFile);
    m_dm = std::make_unique<TdmQL>(programDir, file, m_comm, m_business, nullptr, access);
    if (m_dm->Connected() && access == TdmQL::Access::ReadWrite && m_dm->readOnlyReason().readOnly()) {
        CliOutput::error(m_dm->readOnlyReason().text());
        return CatalogueFailed;
    }
    if (m_dm->Connected())
        return Done;
    return m_dm->InUse() ? NothingFound : CatalogueFailed;
}
