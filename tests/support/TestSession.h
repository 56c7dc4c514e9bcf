#pragma once

#include "CatalogueFixture.h"
#include "RecordingErrorPresenter.h"
#include "TestProgramDir.h"
#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"

// A temporary program directory with its catalogue connected: the query helpers with a
// recording error presenter, the data module, and a writer of discs and files.
class TestSession {
public:
    explicit TestSession(TestProgramDir::Catalogue catalogue = TestProgramDir::Catalogue::Empty)
        : dir(catalogue), dm(dir.path(), comm, business), data(dm, comm)
    {
    }

    TestProgramDir dir;
    RecordingErrorPresenter presenter;
    TLCommFunction comm{&presenter};
    TLCommBusiness business{comm};
    TdmQL dm;
    CatalogueFixture data;
};
