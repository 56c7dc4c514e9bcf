#include "DiscNodeLook.h"

#include "store/DiscDetails.h"
#include "ui/Icons.h"

#include <QCoreApplication>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

const QSize kSizes[] = {QSize(16, 16), QSize(24, 24), QSize(32, 32)};

// The lent mark: an orange circle with a white arrow pointing out, in the lower right.
void paintLentMark(QPixmap &pixmap)
{
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = pixmap.width() / pixmap.devicePixelRatio();
    const QRectF mark(side * 0.5, side * 0.5, side * 0.5, side * 0.5);
    painter.setPen(QPen(Qt::white, qMax(1.0, side / 16)));
    painter.setBrush(QColor(0xE0, 0x70, 0x10));
    painter.drawEllipse(mark.adjusted(0.5, 0.5, -0.5, -0.5));
    const QPointF centre = mark.center();
    const qreal arm = mark.width() * 0.22;
    painter.drawLine(centre - QPointF(arm, -arm), centre + QPointF(arm, -arm));
    painter.drawLine(centre + QPointF(arm, -arm), centre + QPointF(0, -arm));
    painter.drawLine(centre + QPointF(arm, -arm), centre + QPointF(arm, 0));
}

QPixmap marked(const QIcon &base, const QSize &size, const DiscNodeLook::States &states)
{
    QPixmap pixmap = base.pixmap(size);
    if (states.lent)
        paintLentMark(pixmap);
    return pixmap;
}

} // namespace

QIcon DiscNodeLook::icon(States states)
{
    QIcon icon;
    const QIcon normal = Icons::ilQl(0);
    const QIcon selected = Icons::ilQl(1);
    for (const QSize &size : kSizes) {
        icon.addPixmap(marked(normal, size, states), QIcon::Normal);
        icon.addPixmap(marked(selected, size, states), QIcon::Selected);
    }
    return icon;
}

// Written as rich text with every value escaped, so a location typed with "<" shows as typed.
QString DiscNodeLook::toolTip(const DiscOverview &disc)
{
    QStringList lines{QCoreApplication::translate("DiscNodeLook", "卷标：%1").arg(disc.label),
                      QCoreApplication::translate("DiscNodeLook", "序列号：%1").arg(disc.serial)};
    if (!disc.details.location.isEmpty())
        lines.append(QCoreApplication::translate("DiscNodeLook", "位置：%1").arg(disc.details.location));
    if (!disc.borrower.isEmpty())
        lines.append(
            QCoreApplication::translate("DiscNodeLook", "借给 %1（%2 起）").arg(disc.borrower, disc.lentOn));
    for (QString &line : lines)
        line = line.toHtmlEscaped();
    return u"<p style='white-space:pre'>"_s + lines.join(u"<br>"_s) + u"</p>"_s;
}
