#include "Drvbtn.h"

#include <QLabel>
#include <QToolButton>

using namespace Qt::StringLiterals;

TDrvbtn::TDrvbtn(QWidget *parent) : QWidget(parent), ImageButton(new QToolButton(this)), TextLabel(new QLabel(this))
{
    resize(79, 74);
    ImageButton->setObjectName(u"ImageButton"_s);
    ImageButton->setAutoRaise(true);
    ImageButton->setGeometry(17, 8, 44, 44);
    ImageButton->setIconSize(QSize(32, 32));
    TextLabel->setObjectName(u"TextLabel"_s);
    TextLabel->move(1, 56);
    TextLabel->resize(44, 17);
    connect(ImageButton, &QToolButton::clicked, this, [this] { emit OnDrvClick(ImageButton, m_drvName); });
}

void TDrvbtn::setGlyph(const QPixmap &glyph)
{
    m_glyph = glyph;
    ImageButton->setIcon(QIcon(glyph));
}

QString TDrvbtn::Text() const
{
    return TextLabel->text();
}

void TDrvbtn::setText(const QString &text)
{
    TextLabel->setText(text);
    // The label sizes itself to its caption.
    TextLabel->adjustSize();
    TextLabel->resize(qMax(44, TextLabel->width()), 17);
}
