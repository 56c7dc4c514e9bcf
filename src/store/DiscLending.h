#pragma once

#include <QList>
#include <QString>
#include <optional>

// One lending of a disc (table DiscLending, removed with the disc): to whom and from when,
// and when it came back; the open one has no return date. A disc has at most one open
// lending (a unique index says so).
struct Lending {
    QString borrower;
    QString lentOn;     // yyyy-MM-dd
    QString returnedOn; // yyyy-MM-dd; empty while the disc is out
};

// A disc that is out, for the list of lent discs.
struct LentDisc {
    qint32 code = 0;
    QString name;
    QString borrower;
    QString lentOn;
};

// Every call throws DbError with the engine's message when a statement fails.
namespace DiscLendingStore {
std::optional<Lending> current(const QString &connectionName, qint64 discCode);
// Every lending of the disc, the latest first.
QList<Lending> history(const QString &connectionName, qint64 discCode);
// Lends the disc; one that is out comes back on the same day first.
void lend(const QString &connectionName, qint64 discCode, const QString &borrower, const QString &lentOn);
// Ends the open lending, if there is one; false when the disc was not out.
bool giveBack(const QString &connectionName, qint64 discCode, const QString &returnedOn);
// The discs that are out, the one lent longest ago first (then by name).
QList<LentDisc> lentDiscs(const QString &connectionName);
} // namespace DiscLendingStore
