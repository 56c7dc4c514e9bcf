#pragma once

#include "DiscDetails.h"

#include <QString>
#include <optional>

// One edit of a disc's properties, as the properties dialog or quillon-cli edit makes it:
// whatever is set is changed, the rest stays.
struct DiscChange {
    std::optional<QString> name;
    std::optional<QString> location;
    std::optional<QString> note;
    std::optional<QString> keywords;
    // Lent to this person from lentOn (yyyy-MM-dd); a disc that was out comes back first.
    std::optional<QString> lendTo;
    QString lentOn;
    // The disc came back today (before a new lending, if there is one).
    bool giveBack = false;
};

namespace DiscChangeStore {
// Writes the change in one transaction: a refused name (NameTaken, Empty) writes nothing.
// Keywords are kept separated by single blanks. Throws DbError with the engine's message.
DiscDetailsStore::Rename apply(const QString &connectionName, qint64 discCode, const DiscChange &change);
// The keywords of a text typed with blanks, commas (also full-width ones) or 、 between them.
QStringList keywordList(const QString &text);
} // namespace DiscChangeStore
