#pragma once

#include <QHash>
#include <QString>
#include <optional>

// Finds the version note (see VersionNote.h) in an ELF file of either word size or byte
// order, through its section table or, without one, its program headers.
class VersionNoteReader {
public:
    // The note's entries by path; nothing when the file is no ELF file or has no note.
    static std::optional<QHash<QString, QString>> read(const QString &fileName);
};
