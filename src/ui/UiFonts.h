#pragma once

#include <QFont>

// The program's fonts by their old names: the Chinese sans font for Tahoma and
// MS Sans Serif, a Chinese monospace font for Fixedsys, a monospace font for Courier New.
// Sizes are in pixels, as they were drawn.
class UiFonts {
public:
    static QFont sans(int pixelSize);
    static QFont fixedsys(int pixelSize);
    static QFont courier(int pixelSize);
    // The factor that turns a design pixel into a screen pixel (1 on a 96-dpi screen).
    static qreal scale();
};
