#include "ListFeeder.h"

#include "FrmMain.h"
#include "store/FileRowModel.h"

ListFeeder::ListFeeder(TfrmMain &window, FileRowModel &model) : m_window(window), m_model(model)
{
    m_window.m_feeders.push_back(this);
}

ListFeeder::~ListFeeder()
{
    flush();
    std::erase(m_window.m_feeders, this);
}

void ListFeeder::flush()
{
    if (m_batch.empty())
        return;
    m_model.appendRows(std::move(m_batch));
    m_batch.clear();
}
