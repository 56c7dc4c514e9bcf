#include "UiFonts.h"

#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {
QFont make(const QStringList &families, QFont::StyleHint hint, int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPixelSize(qMax(1, qRound(pixelSize * UiFonts::scale())));
    return font;
}
} // namespace

QFont UiFonts::sans(int pixelSize)
{
    return make({u"Noto Sans CJK SC"_s, u"WenQuanYi Micro Hei"_s, u"Sans Serif"_s}, QFont::SansSerif, pixelSize);
}

QFont UiFonts::fixedsys(int pixelSize)
{
    return make({u"Noto Sans Mono CJK SC"_s, u"WenQuanYi Micro Hei Mono"_s, u"Monospace"_s}, QFont::TypeWriter,
                pixelSize);
}

QFont UiFonts::courier(int pixelSize)
{
    return make({u"DejaVu Sans Mono"_s, u"Liberation Mono"_s, u"Monospace"_s}, QFont::TypeWriter, pixelSize);
}

qreal UiFonts::scale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    return qMax(1.0, screen->logicalDotsPerInchY() / 96.0);
}
