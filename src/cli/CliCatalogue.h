#pragma once

#include "CliOutput.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"

#include <memory>

// The catalogue as quillon-cli opens it: the one the program would open (--catalogue,
// portable, or the user's own), for reading without a lock, or for writing with the
// catalogue's lock as the window holds it.
class CliCatalogue {
public:
    enum Status { Done = 0, NothingFound = 1, BadUsage = 2, CatalogueFailed = 3 };

    // Status Done when open; otherwise what went wrong has been said on standard error.
    Status open(const QString &namedFile, TdmQL::Access access);
    TdmQL &dm() { return *m_dm; }
    TLCommFunction &comm() { return m_comm; }

private:
    CliErrorPresenter m_presenter;
    TLCommFunction m_comm{&m_presenter};
    TLCommBusiness m_business{m_comm};
    std::unique_ptr<TdmQL> m_dm;
};
