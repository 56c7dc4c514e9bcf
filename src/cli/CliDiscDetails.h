#pragma once

#include "CliSupport.h"

#include <QList>
#include <QStringList>
#include <optional>

// The commands on what the catalogue knows about each disc beyond its files: show and edit
// one disc's properties, and the disc list narrowed to the lent discs or by the tree's
// filter.
namespace CliDiscDetails {
int show(const QStringList &arguments);
int edit(const QStringList &arguments);
// The options discs takes for them (--lent, --where TEXT).
QList<QCommandLineOption> discsOptions();
// The listing of discs when one of those options is set; nothing otherwise.
std::optional<int> narrowedDiscs(const CliSupport::CommandParser &command);
} // namespace CliDiscDetails
