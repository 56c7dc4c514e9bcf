#pragma once

#include <QString>
#include <array>

// One row of a file list: the caption (first column) and the four sub-item texts.
// In the import list the caption is the file name and the sub-items are size, date-time
// text and folder; in the main list the caption is the disc name and the sub-items are
// file name, size, date-time text and path.
struct FileRow {
    QString caption;
    std::array<QString, 4> sub;

    static constexpr int ColumnCount = 5;
    // Column 0 is the caption, 1..4 the sub-items.
    const QString &cell(int column) const { return column == 0 ? caption : sub[size_t(column - 1)]; }
    bool operator==(const FileRow &) const = default;
};
