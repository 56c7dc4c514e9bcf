#include "StatusFrames.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

// The drive: a dark body along the bottom with its slot.
void drawDrive(QPainter &p)
{
    p.setPen(QPen(QColor(0x30, 0x34, 0x3a), 0.8));
    p.setBrush(QColor(0x6b, 0x73, 0x80));
    p.drawRoundedRect(QRectF(0.5, 10.5, 15, 5), 1.2, 1.2);
    p.setPen(QPen(QColor(0x1c, 0x1f, 0x24), 1.0));
    p.drawLine(QPointF(3, 12.5), QPointF(13, 12.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4c, 0xd9, 0x64));
    p.drawRect(QRectF(12.5, 14, 2, 1));
}

// The disc at a horizontal offset, with a bright sector at an angle (degrees) when turning.
void drawDisc(QPainter &p, qreal dx, qreal dy, int turn)
{
    const QPointF c(8 + dx, 6.5 + dy);
    QRadialGradient shine(c + QPointF(-1.5, -1.5), 6.5);
    shine.setColorAt(0, QColor(0xff, 0xff, 0xff));
    shine.setColorAt(0.6, QColor(0xc6, 0xd3, 0xee));
    shine.setColorAt(1, QColor(0x8f, 0xa3, 0xc7));
    p.setPen(QPen(QColor(0x41, 0x50, 0x6a), 0.8));
    p.setBrush(shine);
    p.drawEllipse(c, 5.8, 5.8);
    if (turn >= 0) {
        QPainterPath sector;
        sector.moveTo(c);
        sector.arcTo(QRectF(c.x() - 5.6, c.y() - 5.6, 11.2, 11.2), turn, 55);
        sector.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2f, 0x6f, 0xd0, 200));
        p.drawPath(sector);
    }
    p.setPen(QPen(QColor(0x41, 0x50, 0x6a), 0.6));
    p.setBrush(QColor(0xee, 0xf1, 0xf6));
    p.drawEllipse(c, 1.8, 1.8);
}

} // namespace

QPixmap StatusFrames::frame(int index, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    // The disc leaves upwards to the right and comes back the same way.
    static const qreal offsets[] = {0, 4, 8, 12};
    if (index == 0)
        drawDisc(p, 0, 0, -1);
    else if (index >= 1 && index <= 3)
        drawDisc(p, offsets[index], -offsets[index] / 2, -1);
    else if (index >= 5 && index <= 7)
        drawDisc(p, offsets[8 - index], -offsets[8 - index] / 2, -1);
    else if (index >= 8 && index <= 12)
        drawDisc(p, 0, 0, (index - 8) * 72);
    drawDrive(p);
    return pixmap;
}

QList<QIcon> StatusFrames::ilStatus()
{
    QList<QIcon> frames;
    for (int i = 0; i < Count; ++i) {
        QIcon icon;
        icon.addPixmap(frame(i, 16));
        icon.addPixmap(frame(i, 32));
        frames.append(icon);
    }
    return frames;
}
