#include "DiscNodeLook.h"

#include "store/DateText.h"
#include "store/DiscDetails.h"
#include "ui/Icons.h"

#include <QCoreApplication>
#include <QHash>
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

// The verification mark: a small disc of the state's colour in the lower left, with a tick
// for a whole disc and a bar for the others.
void paintVerifiedMark(QPixmap &pixmap, Verification::State state)
{
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = pixmap.width() / pixmap.devicePixelRatio();
    const QRectF mark(0, side * 0.5, side * 0.5, side * 0.5);
    const QColor colour = state == Verification::State::Whole        ? QColor(0x20, 0x90, 0x30)
                          : state == Verification::State::Differences ? QColor(0xE0, 0xA0, 0x00)
                                                                       : QColor(0xC8, 0x20, 0x20);
    painter.setPen(QPen(Qt::white, qMax(1.0, side / 16)));
    painter.setBrush(colour);
    painter.drawEllipse(mark.adjusted(0.5, 0.5, -0.5, -0.5));
    const QPointF c = mark.center();
    const qreal arm = mark.width() * 0.22;
    if (state == Verification::State::Whole) {
        painter.drawLine(c + QPointF(-arm, 0), c + QPointF(-arm * 0.3, arm * 0.7));
        painter.drawLine(c + QPointF(-arm * 0.3, arm * 0.7), c + QPointF(arm, -arm * 0.7));
    } else {
        painter.drawLine(c + QPointF(-arm, 0), c + QPointF(arm, 0));
    }
}

QPixmap marked(const QIcon &base, const QSize &size, const DiscNodeLook::States &states)
{
    QPixmap pixmap = base.pixmap(size);
    if (states.lent)
        paintLentMark(pixmap);
    if (states.verified)
        paintVerifiedMark(pixmap, *states.verified);
    return pixmap;
}

// "3 天前", "今天".
QString ago(const QString &dateText)
{
    const QDateTime at = DateText::toDateTime(dateText);
    if (!at.isValid())
        return dateText;
    const qint64 days = at.date().daysTo(QDate::currentDate());
    if (days <= 0)
        return QCoreApplication::translate("DiscNodeLook", "今天");
    if (days < 60)
        return QCoreApplication::translate("DiscNodeLook", "%1 天前").arg(days);
    if (days < 730)
        return QCoreApplication::translate("DiscNodeLook", "%1 个月前").arg(days / 30);
    return QCoreApplication::translate("DiscNodeLook", "%1 年前").arg(days / 365);
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

const QIcon &DiscNodeLook::cachedIcon(States states)
{
    static QHash<int, QIcon> made;
    const int key = (states.lent ? 1 : 0) | (states.verified ? (int(*states.verified) + 1) << 1 : 0);
    auto found = made.find(key);
    if (found == made.end())
        found = made.insert(key, icon(states));
    return *found;
}

QString DiscNodeLook::verificationText(const std::optional<Verification> &latest)
{
    if (!latest)
        return QCoreApplication::translate("DiscNodeLook", "从未校验");
    const QString when = ago(latest->verifiedAt);
    switch (latest->state()) {
    case Verification::State::Whole:
        return QCoreApplication::translate("DiscNodeLook", "校验过，完好（%1）").arg(when);
    case Verification::State::Differences:
        return QCoreApplication::translate("DiscNodeLook", "校验过，有不同的文件（%1）").arg(when);
    case Verification::State::Unreadable:
        break;
    }
    return QCoreApplication::translate("DiscNodeLook", "校验过，%1个文件无法读取（%2）").arg(latest->unreadable).arg(when);
}

// Written as rich text with every value escaped, so a location typed with "<" shows as typed.
QString DiscNodeLook::toolTip(const DiscOverview &disc, const std::optional<Verification> &latest)
{
    QStringList lines{QCoreApplication::translate("DiscNodeLook", "卷标：%1").arg(disc.label),
                      QCoreApplication::translate("DiscNodeLook", "序列号：%1").arg(disc.serial)};
    if (!disc.details.location.isEmpty())
        lines.append(QCoreApplication::translate("DiscNodeLook", "位置：%1").arg(disc.details.location));
    if (!disc.borrower.isEmpty())
        lines.append(
            QCoreApplication::translate("DiscNodeLook", "借给 %1（%2 起）").arg(disc.borrower, disc.lentOn));
    lines.append(verificationText(latest));
    for (QString &line : lines)
        line = line.toHtmlEscaped();
    return u"<p style='white-space:pre'>"_s + lines.join(u"<br>"_s) + u"</p>"_s;
}
