#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// The SHA-256 of catalogued files (FileChecksum), one row per file record, keyed by the
// record's rowid and removed with it by a trigger (so with its disc too). A file that could
// not be read when it was imported has a row without a checksum: it is marked unreadable.
// Files imported without checksums have no row.
class FileChecksums {
public:
    // The statements that add the table to a catalogue.
    static QStringList createStatements();

    // Ready to store the checksums of new file records on that connection, inside the
    // transaction that writes the records.
    explicit FileChecksums(const QString &connectionName);
    // digest: the 32 bytes, or empty for a file that could not be read. Throws DbError.
    void store(qint64 fileRow, const QByteArray &digest);

    struct Entry {
        QString folder; // as the file record holds it: "\music\rock\"
        QString name;
        QByteArray digest; // empty: unreadable
    };
    // The entries of a disc's files that have one, in the order stored.
    static QList<Entry> ofDisc(const QString &connectionName, qint64 discCode);
    // How many file records have a row: all of them, and the unreadable ones.
    struct Count {
        qint64 files = 0;
        qint64 unreadable = 0;
    };
    static Count count(const QString &connectionName, qint64 discCode);

private:
    QSqlQuery m_insert;
};
