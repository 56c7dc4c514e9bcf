#pragma once

#include "DirEntry.h"
#include "DiscVolume.h"
#include "IsoDirectory.h"
#include "SectorReader.h"

#include <QStringList>
#include <optional>

// Lists the directories of an ISO 9660 or Joliet volume from its directory records,
// without mounting it: the names of the volume's active descriptor (Joliet or primary),
// recording dates, existence bits as hidden, files of several extents as one.
//
// A damaged disc gives what can be read, and no walk over it goes round in circles: a
// directory is entered only when it is none of the directories above it, and entries
// that name the listed directory or one above it are left out of the listing. Nor does
// a walk multiply: a directory listed twice in one directory is listed (and entered)
// under its first name only, and one whose ".." record names another directory than the
// one it is listed in is not entered, so a directory is reached by one path. (libisofs,
// behind xorriso, writes Joliet ".." records that name the directory itself: those say
// nothing, and such a directory is entered.)
class IsoFileSystem {
public:
    IsoFileSystem(SectorReader &reader, const DiscVolume &volume);

    // The entries of the directory at these names below the root (a name is matched as
    // it is first, then ignoring case); nothing when the directory cannot be reached or
    // not one of its blocks can be read.
    std::optional<QList<DirEntry>> list(const QStringList &components);
    // The records the listing of that directory is made of (IsoDirectory::extents tells
    // where its files lie); nothing when list() gives nothing.
    std::optional<QList<IsoDirectoryRecord>> records(const QStringList &components);
    // The logical block size in force (extents count in blocks).
    qint64 blockSize() const { return m_volume.blockSize; }

    // A directory longer than this is read only this far (no real one comes near).
    static constexpr quint32 MostDirectoryBytes = 64u << 20;

private:
    std::optional<IsoDirectory> readDirectory(quint32 extent, quint32 length);
    // The bytes of an extent, as far as they can be read; empty when not even its first
    // sector can.
    QByteArray readExtent(quint32 extent, quint32 length);
    // The records a listing shows: the rules above applied.
    static QList<IsoDirectoryRecord> shown(const IsoDirectory &directory, const QList<quint32> &above);
    static std::optional<IsoDirectoryRecord> subdirectory(const QList<IsoDirectoryRecord> &records,
                                                          const QString &name);

    SectorReader &m_reader;
    DiscVolume m_volume;
    bool m_joliet;
};
