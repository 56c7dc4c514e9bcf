#pragma once

#include <QIcon>
#include <QList>

// The 13 pictures of the drive list's state animation, 16 × 16: 0 a disc in the drive,
// 1–3 the disc sliding out, 4 the empty drive, 5–7 the disc sliding back in, 8–12 the
// disc turning; frame 0 follows frame 12.
class StatusFrames {
public:
    static constexpr int Count = 13;
    static QList<QIcon> ilStatus();
    static QPixmap frame(int index, int size = 16);
};
