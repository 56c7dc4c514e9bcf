#pragma once

#include <QByteArrayView>
#include <QString>

// How the bytes of a name (a directory entry, a disc record, an archive's member) become the
// text the catalogue stores. The same bytes always give the same text, and no byte is lost:
// bytes that are not UTF-8 but are GB18030 (names copied from Chinese Windows discs) are read
// as GB18030, and a byte that is neither is written "%FF" (its two hexadecimal digits), so the
// name stays readable and searchable and never holds a backslash it did not have.
namespace NameBytes {
enum class First { Utf8, Gb18030 };
// first: the reading tried first (GB18030 for ISO 9660 primary names, which Chinese Windows
// reads so); the other follows, then the bytes of neither are written as "%FF".
QString decode(QByteArrayView bytes, First first = First::Utf8);
} // namespace NameBytes
