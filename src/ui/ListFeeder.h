#pragma once

#include "store/FileRow.h"

#include <vector>

class FileRowModel;
class StatusProgress;

// Collects the rows a long loop reads and hands them to the list in batches. The progress
// flushes every live feeder before it lets events run, so the list on screen is never
// behind the loop, and rows never land in a list that was emptied meanwhile.
class ListFeeder {
public:
    ListFeeder(StatusProgress &progress, FileRowModel &model);
    ~ListFeeder();
    ListFeeder(const ListFeeder &) = delete;
    ListFeeder &operator=(const ListFeeder &) = delete;

    void add(FileRow row) { m_batch.push_back(std::move(row)); }
    void flush();

private:
    StatusProgress &m_progress;
    FileRowModel &m_model;
    std::vector<FileRow> m_batch;
};
