#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// One directory record of an ISO 9660 or Joliet directory: a file, a directory, or one
// extent of a file recorded in several.
struct IsoDirectoryRecord {
    // Bits of the file flags.
    static constexpr quint8 Existence = 0x01; // "hidden" as Windows shows it
    static constexpr quint8 Directory = 0x02;
    static constexpr quint8 Associated = 0x04;
    static constexpr quint8 MultiExtent = 0x80; // more extents of the same file follow
    // The fixed part in front of the file identifier.
    static constexpr qsizetype HeaderSize = 33;

    enum class Kind { Named, Self, Parent }; // Self: the "." record, Parent: ".."

    Kind kind = Kind::Named;
    // The name as shown: Joliet or primary characters, without the ";1" version of a
    // file, characters that cannot stand in a path replaced; empty when none is left.
    QString name;
    quint32 extent = 0; // first logical block
    quint32 dataLength = 0;
    quint8 flags = 0;
    // The recording date as 100-ns ticks since 1601-01-01 UTC; 0 when it is no date.
    quint64 fileTime = 0;

    bool isDirectory() const { return flags & Directory; }

    // The record that starts the bytes given (its length byte first, the bytes cut to that
    // length or longer); nothing when its lengths do not fit.
    static std::optional<IsoDirectoryRecord> parse(QByteArrayView record, bool joliet);
    // The seven bytes of a recording date: years since 1900, month, day, hour, minute,
    // second, offset from GMT in quarter hours. 0 when a field is out of range.
    static quint64 fileTimeOf(QByteArrayView recorded);
};
