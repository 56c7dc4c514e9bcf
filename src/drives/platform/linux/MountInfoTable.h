#pragma once

#include "MountEntry.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The kernel's table of mounts (/proc/self/mountinfo), which names each mount's device
// by number, so a drive is found whatever its node is called.
class MountInfoTable {
public:
    struct Row {
        quint64 number = 0;
        bool wholeFileSystem = false; // false: a folder or file of it, bind-mounted
        MountEntry entry;
    };

    static MountInfoTable parse(const QByteArray &text);
    // The table of this process; empty when it cannot be read.
    static MountInfoTable read(const QString &path);

    // The first mount of the whole file system of a device (not of a directory inside
    // it); nothing when the device is not mounted.
    std::optional<MountEntry> find(quint64 deviceNumber) const;
    // Every mount, in the table's order.
    const QList<Row> &rows() const { return m_rows; }

private:
    QList<Row> m_rows;
};
