#include "DiscChange.h"

#include "DiscLending.h"
#include "Transaction.h"

#include <QDate>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

QStringList DiscChangeStore::keywordList(const QString &text)
{
    static const QRegularExpression separators(u"[\\s,;\\x{FF0C}\\x{3001}\\x{FF1B}]+"_s);
    return text.split(separators, Qt::SkipEmptyParts);
}

DiscDetailsStore::Rename DiscChangeStore::apply(const QString &connectionName, qint64 discCode,
                                                const DiscChange &change)
{
    Transaction transaction(connectionName);
    if (change.name) {
        const DiscDetailsStore::Rename renamed = DiscDetailsStore::rename(connectionName, discCode, *change.name);
        if (renamed != DiscDetailsStore::Rename::Done)
            return renamed;
    }
    if (change.location || change.note || change.keywords) {
        DiscDetails details = DiscDetailsStore::read(connectionName, discCode);
        details.location = change.location.value_or(details.location).trimmed();
        details.note = change.note.value_or(details.note).trimmed();
        details.keywords = keywordList(change.keywords.value_or(details.keywords)).join(u' ');
        DiscDetailsStore::write(connectionName, discCode, details);
    }
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    if (change.giveBack)
        DiscLendingStore::giveBack(connectionName, discCode, today);
    if (change.lendTo && !change.lendTo->trimmed().isEmpty())
        DiscLendingStore::lend(connectionName, discCode, change.lendTo->trimmed(),
                               change.lentOn.isEmpty() ? today : change.lentOn);
    transaction.commit();
    return DiscDetailsStore::Rename::Done;
}
