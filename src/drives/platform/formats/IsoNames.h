#pragma once

#include <QByteArrayView>
#include <QString>

// The names of ISO 9660 directory records as Windows shows them.
namespace IsoNames {
// A Joliet identifier: UCS-2 big endian (an odd last byte is dropped, a lone surrogate
// becomes U+FFFD).
QString joliet(QByteArrayView identifier);
// A primary identifier: ASCII by the standard; other bytes are read as GB18030, as a
// Chinese Windows reads them, then as NameBytes reads what is not GB18030.
QString primary(QByteArrayView identifier);
// The shown name of a file (";1" and a dot left bare by it removed) or directory; a
// character that cannot stand in a path (a control character, '/' or '\') becomes '_'.
// Empty when nothing usable is left ("", "." and "..").
QString shown(QString name, bool directory);
} // namespace IsoNames
