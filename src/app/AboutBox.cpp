#include "AboutBox.h"

#include "AboutInfo.h"
#include "drives/FileVersion.h"
#include "ui/Icons.h"
#include "ui/Prompts.h"
#include "ui/UiFonts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSysInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QLabel *label(QWidget *parent, const QString &name, const QString &text, QPoint at, const QFont &font,
              const QColor &colour = Qt::black)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, colour);
    l->setPalette(palette);
    l->move(at);
    l->adjustSize();
    return l;
}

// Keeps a label within its width: a smaller font first, down to 9 pixels, then the text
// shortened with "…" and the whole text as its tooltip.
void fitWidth(QLabel *label, int width)
{
    QFont font = label->font();
    while (QFontMetrics(font).horizontalAdvance(label->text()) > width && font.pixelSize() > 9) {
        font.setPixelSize(font.pixelSize() - 1);
        label->setFont(font);
    }
    const QString full = label->text();
    const QString shown = QFontMetrics(font).elidedText(full, Qt::ElideMiddle, width);
    if (shown != full) {
        label->setText(shown);
        label->setToolTip(full);
    }
    label->adjustSize();
}

QFont productFont()
{
    QFont font = UiFonts::courier(28);
    font.setBold(true);
    return font;
}

QFont linkFont()
{
    QFont font = UiFonts::sans(12);
    font.setUnderline(true);
    return font;
}

} // namespace

QString TAboutBox::webAddress()
{
    return u"https://quillon.example/"_s;
}

QString TAboutBox::mailAddress()
{
    return u"quillon@quillon.example"_s;
}

TAboutBox::TAboutBox(Prompts &prompts, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
    , m_prompts(prompts)
{
    setObjectName(u"AboutBox"_s);
    setFixedSize(342, 250);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(UiFonts::sans(11));
    createLabels();
    retranslateUi();
    FormCreate();
}

void TAboutBox::retranslateUi()
{
    setWindowTitle(tr("关于光盘索引"));
    Company->setText(tr("Quillon系列软件"));
    Company->adjustSize();
    Company->resize(qMax(111, Company->width()), Company->height());
    Copyright->setText(tr("Copyright © 2026 Quillon 开发组"));
    Copyright->adjustSize();
    Label3->setText(tr("Memory Available to Windows:"));
    Label3->adjustSize();
    OKButton->setText(tr("OK"));
}

void TAboutBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TAboutBox::createLabels()
{
    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(u"ProgramIcon"_s);
    ProgramIcon->setGeometry(16, 19, 41, 41);
    ProgramIcon->setAlignment(Qt::AlignCenter);
    ProgramIcon->setPixmap(Icons::program().pixmap(32, 32));

    Company = label(this, u"Company"_s, QString(), {82, 19}, UiFonts::sans(15));
    // Drawn three times, one pixel apart: white, grey, black on top.
    ProductName1 = label(this, u"ProductName1"_s, u"Quillon"_s, {82, 36}, productFont(), Qt::white);
    ProductName3 = label(this, u"ProductName3"_s, u"Quillon"_s, {83, 35}, productFont(), Qt::gray);
    ProductName2 = label(this, u"ProductName2"_s, u"Quillon"_s, {84, 34}, productFont(), Qt::black);
    Version = label(this, u"Version"_s, QString(), {82, 67}, UiFonts::sans(12));
    Copyright = label(this, u"Copyright"_s, QString(), {82, 86}, UiFonts::sans(12));
    URL = label(this, u"URL"_s, webAddress(), {82, 109}, linkFont(), QColor(0, 0, 0x80));
    EMAIL = label(this, u"EMAIL"_s, mailAddress(), {82, 134}, linkFont(), QColor(0, 0, 0x80));
    for (QLabel *link : {URL, EMAIL}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    auto *bevel = new QFrame(this);
    bevel->setObjectName(u"Bevel1"_s);
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setGeometry(82, 158, 251, 2);
    OS = label(this, u"OS"_s, QString(), {82, 167}, font());
    Label3 = label(this, u"Label3"_s, QString(), {82, 184}, font());
    PhysMem = label(this, u"PhysMem"_s, QString(), {0, 184}, font());
    PhysMem->setAlignment(Qt::AlignRight | Qt::AlignTop);

    OKButton = new QPushButton(this);
    OKButton->setObjectName(u"OKButton"_s);
    OKButton->setGeometry(256, 215, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::FormCreate()
{
    ShowSystemInfo();
}

void TAboutBox::ShowSystemInfo()
{
    ShowOsVersion();
    PhysMem->setText(AboutInfo::memoryText(AboutInfo::physicalMemory()));
    PhysMem->adjustSize();
    PhysMem->move(329 - PhysMem->width(), 184);
    QString version;
    GetFileVersionString(QCoreApplication::applicationFilePath(), version);
    Version->setText(version);
    Version->adjustSize();
}

void TAboutBox::ShowOsVersion()
{
    OS->setText(AboutInfo::osText(QSysInfo::kernelVersion(), QSysInfo::prettyProductName()));
    fitWidth(OS, 333 - OS->x());
}

void TAboutBox::URLClick()
{
    if (!QDesktopServices::openUrl(QUrl(URL->text())))
        m_prompts.critical(windowTitle(), tr("无法运行默认浏览器"));
}

void TAboutBox::EMAILClick()
{
    QDesktopServices::openUrl(QUrl(u"mailto:"_s + EMAIL->text()));
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == URL)
            URLClick();
        else if (watched == EMAIL)
            EMAILClick();
    }
    return QDialog::eventFilter(watched, event);
}
