#pragma once

#include "CliSupport.h"

#include <QCommandLineOption>
#include <QList>
#include <optional>

// quillon-cli verify, and the discs due for a verification (discs --due).
namespace CliVerify {
int verify(const QStringList &arguments);
QList<QCommandLineOption> discsOptions();
// Nothing when discs was not asked for the due ones; else the status it ended with.
std::optional<int> dueDiscs(const CliSupport::CommandParser &command);
} // namespace CliVerify
