#pragma once

#include <QStringList>
#include <optional>

class TdmQL;

// Which catalogued discs a disc in a drive is: the names of the disc records whose serial
// number and label equal the disc's, in the order of the disc tree. A disc without a
// serial number (00000000, or none read) is never recognised.
namespace CataloguedDiscs {
QStringList names(TdmQL &dm, const QString &label, const QString &serial);
// The code of the disc of that name (compared as the catalogue compares names); nothing
// when there is none.
std::optional<qint64> codeOf(TdmQL &dm, const QString &name);
// The names as one text: "、" between them.
QString joined(const QStringList &names);
} // namespace CataloguedDiscs
