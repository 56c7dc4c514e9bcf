#include "DrvList.h"

#include "Drvbtn.h"
#include "drives/CrCdA.h"

#include <QResizeEvent>

using namespace Qt::StringLiterals;

namespace {
constexpr int kFirstTop = 8;
constexpr int kStep = 80;
} // namespace

TDrvList::TDrvList(QWidget *parent) : QScrollArea(parent), m_content(new QWidget)
{
    resize(121, 273);
    setWidget(m_content);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TDrvList::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active) {
        LoadDrives();
    } else {
        qDeleteAll(m_buttons);
        m_buttons.clear();
    }
    CenterButtons();
}

void TDrvList::LoadDrives()
{
    if (!m_enumerator)
        m_enumerator = new TCrCdA(this);
    m_codeList = m_enumerator->CdList();
    if (!m_codeList.isEmpty())
        CreateButtons();
}

void TDrvList::CreateButtons()
{
    int top = kFirstTop;
    for (const QString &code : std::as_const(m_codeList)) {
        const char letter = char(code.toInt());
        auto *button = new TDrvbtn(m_content);
        button->setText(u"CDRom [%1:]"_s.arg(QChar(char16_t(letter)).toUpper()));
        button->setDrvName(letter);
        button->setGlyph(m_glyph);
        button->move(21, top);
        button->show();
        connect(button, &TDrvbtn::OnDrvClick, this, &TDrvList::OnDrvClick);
        m_buttons.append(button);
        top += kStep;
    }
}

void TDrvList::setGlyph(const QPixmap &glyph)
{
    m_glyph = glyph;
    for (TDrvbtn *button : std::as_const(m_buttons))
        button->setGlyph(glyph);
}

void TDrvList::CenterButtons()
{
    const int left = (width() - 79) / 2;
    int bottom = 0;
    for (TDrvbtn *button : std::as_const(m_buttons)) {
        button->move(left, button->y());
        bottom = button->y() + button->height();
    }
    m_content->resize(qMax(0, viewport()->width()), bottom > 0 ? bottom + kFirstTop : 0);
}

void TDrvList::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    CenterButtons();
}
