#pragma once

#include <QStringList>

// The commands of quillon-cli. Each reads its own arguments (the command's name first)
// and returns the exit status: 0 done, 1 nothing found or refused, 2 bad usage, 3 the
// catalogue could not be opened or written.
namespace CliCommands {
int discs(const QStringList &arguments);
int files(const QStringList &arguments);
int search(const QStringList &arguments);
int import(const QStringList &arguments);
int index(const QStringList &arguments);
int exportList(const QStringList &arguments);
int categories(const QStringList &arguments);
int checksums(const QStringList &arguments);
int copies(const QStringList &arguments);
int update(const QStringList &arguments);
} // namespace CliCommands
