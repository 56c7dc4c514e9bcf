#pragma once

#include <QStringList>

// The tables of what the catalogue knows about each disc beyond its files: the import
// record (DiscImport), the details the user writes (DiscDetails) and the lendings
// (DiscLending). Each row belongs to a disc record and goes with it (ON DELETE CASCADE).
// Unlike the search index these hold what the user wrote: they are never dropped and
// rebuilt.
namespace DiscRecordsSchema {
QStringList createStatements();
// False for a catalogue that could not take them (an older one on a file that may only be
// read): its discs then have no records, and readers show none.
bool present(const QString &connectionName);
} // namespace DiscRecordsSchema
