#pragma once

#include <QString>

// Replaces every occurrence of Old in S by New, case-sensitively, left to right; text
// that New brings in is not searched again. An empty Old changes nothing.
void ReplaceAll(QString &S, const QString &Old, const QString &New);
// The same on a copy; S is not changed.
QString ReplaceAllCopy(const QString &S, const QString &Old, const QString &New);
