#include "VersionNoteReader.h"

#include "VersionNote.h"

#include <QFile>
#include <QList>
#include <QtEndian>

namespace {
constexpr quint32 kSectionNote = 7; // SHT_NOTE
constexpr quint32 kSegmentNote = 4; // PT_NOTE
constexpr qint64 kMaxNoteBlock = 1 << 20;

struct Range {
    qint64 offset;
    qint64 size;
    qint64 align;
};

// Reads integers of the file's word size and byte order out of its bytes.
class ElfFile {
public:
    explicit ElfFile(QFile &file)
        : m_file(file)
    {
    }

    bool readHeader()
    {
        m_header = read(0, 64);
        if (m_header.size() < 52 || !m_header.startsWith("\x7f"
                                                         "ELF"))
            return false;
        m_wide = m_header[4] == 2;
        m_bigEndian = m_header[5] == 2;
        return (m_header[4] == 1 || m_wide) && (m_header[5] == 1 || m_bigEndian) &&
               m_header.size() >= (m_wide ? 64 : 52);
    }

    QList<Range> noteRanges()
    {
        QList<Range> ranges = tableRanges(word(m_header, m_wide ? 40 : 32), half(m_header, m_wide ? 58 : 46),
                                          half(m_header, m_wide ? 60 : 48), true);
        if (ranges.isEmpty())
            ranges = tableRanges(word(m_header, m_wide ? 32 : 28), half(m_header, m_wide ? 54 : 42),
                                 half(m_header, m_wide ? 56 : 44), false);
        return ranges;
    }

    QByteArray read(qint64 offset, qint64 size)
    {
        if (offset < 0 || size < 0 || size > kMaxNoteBlock || offset > m_file.size() || !m_file.seek(offset))
            return {};
        return m_file.read(size);
    }

    quint32 u32(const QByteArray &b, qint64 at) const
    {
        const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
        return m_bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
    }

private:
    quint16 half(const QByteArray &b, qint64 at) const
    {
        const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
        return m_bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    }
    qint64 word(const QByteArray &b, qint64 at) const
    {
        if (!m_wide)
            return u32(b, at);
        const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
        const quint64 v = m_bigEndian ? qFromBigEndian<quint64>(p) : qFromLittleEndian<quint64>(p);
        return v > quint64(std::numeric_limits<qint64>::max()) ? -1 : qint64(v);
    }

    // The note blocks listed in the section table or the program header table.
    QList<Range> tableRanges(qint64 offset, quint16 entrySize, quint16 count, bool sections)
    {
        const qint64 needed = sections ? (m_wide ? 64 : 40) : (m_wide ? 56 : 32);
        QList<Range> ranges;
        if (offset <= 0 || entrySize < needed)
            return ranges;
        const QByteArray table = read(offset, qint64(entrySize) * count);
        for (qint64 at = 0; at + entrySize <= table.size(); at += entrySize) {
            if (sections && u32(table, at + 4) == kSectionNote)
                ranges.append({word(table, at + (m_wide ? 24 : 16)), word(table, at + (m_wide ? 32 : 20)),
                               word(table, at + (m_wide ? 48 : 32))});
            else if (!sections && u32(table, at) == kSegmentNote)
                ranges.append({word(table, at + (m_wide ? 8 : 4)), word(table, at + (m_wide ? 32 : 16)),
                               word(table, at + (m_wide ? 48 : 28))});
        }
        return ranges;
    }

    QFile &m_file;
    QByteArray m_header;
    bool m_wide = false;
    bool m_bigEndian = false;
};

qint64 padded(qint64 size, qint64 align)
{
    return (size + align - 1) / align * align;
}

QHash<QString, QString> parseEntries(const QByteArray &data)
{
    QHash<QString, QString> entries;
    for (const QByteArray &entry : data.split('\0')) {
        const qsizetype eq = entry.indexOf('=');
        if (eq > 0)
            entries.insert(QString::fromUtf8(entry.left(eq)), QString::fromUtf8(entry.mid(eq + 1)));
    }
    return entries;
}

// The data of our note within one block of notes.
std::optional<QByteArray> findNote(const ElfFile &elf, const QByteArray &block, qint64 align)
{
    static const QByteArray owner = QByteArrayLiteral(QUILLON_VERSION_NOTE_OWNER) + '\0';
    for (qint64 at = 0; at + 12 <= block.size();) {
        const qint64 nameSize = elf.u32(block, at);
        const qint64 dataSize = elf.u32(block, at + 4);
        const quint32 type = elf.u32(block, at + 8);
        const qint64 data = at + 12 + padded(nameSize, align);
        if (data + dataSize > block.size())
            break;
        if (type == QUILLON_VERSION_NOTE_TYPE && block.mid(at + 12, nameSize) == owner)
            return block.mid(data, dataSize);
        at = data + padded(dataSize, align);
    }
    return std::nullopt;
}
} // namespace

std::optional<QHash<QString, QString>> VersionNoteReader::read(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    ElfFile elf(file);
    if (!elf.readHeader())
        return std::nullopt;
    for (const Range &range : elf.noteRanges()) {
        const QByteArray block = elf.read(range.offset, range.size);
        if (auto data = findNote(elf, block, range.align == 8 ? 8 : 4))
            return parseEntries(*data);
    }
    return std::nullopt;
}
