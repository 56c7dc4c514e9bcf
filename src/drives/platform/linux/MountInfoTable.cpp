#include "MountInfoTable.h"

#include <QFile>

#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {
// The table writes space, tab, newline and backslash as octal escapes (\040).
QString unescaped(const QByteArray &field)
{
    QByteArray bytes;
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            bytes.append(char(field.mid(i + 1, 3).toInt(nullptr, 8)));
            i += 3;
        } else {
            bytes.append(field[i]);
        }
    }
    return QFile::decodeName(bytes);
}

bool hasOption(const QByteArray &options, const char *name)
{
    return options.split(',').contains(QByteArray(name));
}
} // namespace

MountInfoTable MountInfoTable::parse(const QByteArray &text)
{
    MountInfoTable table;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 6 || dash < 6 || dash + 2 >= fields.size())
            continue;
        const QList<QByteArray> numbers = fields[2].split(':');
        if (numbers.size() != 2)
            continue;
        Row row;
        row.number = makedev(numbers[0].toUInt(), numbers[1].toUInt());
        row.wholeFileSystem = fields[3] == "/";
        row.entry.rootPath = unescaped(fields[4]);
        row.entry.fsType = unescaped(fields[dash + 1]);
        row.entry.device = unescaped(fields[dash + 2]);
        row.entry.readOnly = hasOption(fields[5], "ro");
        table.m_rows.append(row);
    }
    return table;
}

MountInfoTable MountInfoTable::read(const QString &path)
{
    QFile file(path);
    // readAll: the kernel's file has no size to read up to.
    return file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : MountInfoTable();
}

std::optional<MountEntry> MountInfoTable::find(quint64 deviceNumber) const
{
    for (const Row &row : m_rows) {
        if (row.number == deviceNumber && row.wholeFileSystem && deviceNumber != 0)
            return row.entry;
    }
    return std::nullopt;
}
