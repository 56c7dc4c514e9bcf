#pragma once

#include <QtGlobal>

// Where one piece of a file lies on a disc: its first byte and its length.
struct FileExtent {
    qint64 offset = 0;
    qint64 length = 0;
};
