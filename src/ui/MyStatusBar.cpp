#include "MyStatusBar.h"

#include <QLabel>
#include <QProgressBar>

using namespace Qt::StringLiterals;

namespace {
constexpr int kHeight = 25;
constexpr int kPanel1Width = 190;
constexpr int kBarWidth = 180;
} // namespace

TMyStatusBar::TMyStatusBar(QWidget *parent)
    : QStatusBar(parent)
    , Panel7(new QLabel(this))
    , pbQl(new QProgressBar(this))
{
    setObjectName(u"MyStatusBar1"_s);
    setSizeGripEnabled(false);
    setFixedHeight(kHeight);
    Panel7->setObjectName(u"Panel7"_s);
    Panel7->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel7->setIndent(2);
    pbQl->setObjectName(u"pbQl"_s);
    pbQl->setRange(0, 100);
    pbQl->setValue(0);
    pbQl->setTextVisible(false);
}

void TMyStatusBar::layoutFor(int windowWidth)
{
    m_panel0Width = windowWidth - kPanel1Width;
    Panel7->setGeometry(2, 1, m_panel0Width + 2, height() - 2);
    pbQl->setGeometry(Panel7->width(), 1, kBarWidth, height() - 2);
}
