#include "ListFeeder.h"

#include "StatusProgress.h"
#include "store/FileRowModel.h"

ListFeeder::ListFeeder(StatusProgress &progress, FileRowModel &model)
    : m_progress(progress)
    , m_model(model)
{
    m_progress.m_feeders.push_back(this);
}

ListFeeder::~ListFeeder()
{
    flush();
    std::erase(m_progress.m_feeders, this);
}

void ListFeeder::flush()
{
    if (m_batch.empty())
        return;
    m_model.appendRows(std::move(m_batch));
    m_batch.clear();
}
