#include "HelpWindow.h"

#include "language/Language.h"
#include "ui/ActionGuard.h"
#include "ui/Prompts.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The manual's pictures are window-sized; the page shows them no wider than this.
constexpr int kPictureWidth = 760;

// A page browser that draws wide pictures at a width that fits the page.
class ManualBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override
    {
        const QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource)
            return resource;
        QImage image = resource.value<QImage>();
        if (image.isNull())
            image.loadFromData(resource.toByteArray());
        if (image.width() <= kPictureWidth)
            return resource;
        return image.scaledToWidth(kPictureWidth, Qt::SmoothTransformation);
    }
};

} // namespace

THelpWindow::THelpWindow(const QString &helpDir, Prompts &prompts, QWidget *parent)
    : TfrmRoot<QDialog>(parent)
    , m_helpDir(helpDir)
    , m_prompts(prompts)
    , m_browser(new ManualBrowser(this))
    , m_openInBrowser(new QPushButton(this))
    , m_close(new QPushButton(this))
{
    setObjectName(u"frmHelp"_s);
    setWindowFlags(Qt::Window);
    m_browser->setObjectName(u"tbManual"_s);
    m_browser->setOpenLinks(false);
    m_openInBrowser->setObjectName(u"btnOpenInBrowser"_s);
    m_openInBrowser->setAutoDefault(false);
    m_close->setObjectName(u"btnClose"_s);
    m_close->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_openInBrowser);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addLayout(buttons);
    resize(860, 720);
    // A link inside the manual stays here; one that leaves it (the web, mail) goes to
    // the programs the desktop has for it.
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        ActionGuard::run(m_prompts, [&] {
            if (url.isLocalFile() || url.isRelative())
                m_browser->setSource(m_browser->source().resolved(url));
            else
                openExternally(url);
        });
    });
    connect(m_openInBrowser, &QPushButton::clicked, this,
            [this] { ActionGuard::run(m_prompts, [this] { openExternally(m_browser->source()); }); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    retranslateUi();
}

QString THelpWindow::manualFile(const QString &helpDir, bool english)
{
    return QDir(helpDir).filePath(english ? u"Quillon.en.html"_s : u"Quillon.html"_s);
}

void THelpWindow::showManual()
{
    const bool english = InterfaceLanguage::current() == Language::English;
    const QString file = manualFile(m_helpDir, english);
    if (QFileInfo(file).isFile())
        m_browser->setSource(QUrl::fromLocalFile(file));
}

void THelpWindow::retranslateUi()
{
    setWindowTitle(tr("用户手册"));
    m_openInBrowser->setText(tr("在浏览器中打开"));
    m_close->setText(tr("关闭"));
}

// Whether a browser will show the page cannot be known in advance; a desktop that has
// nothing to open it with at all says so.
void THelpWindow::openExternally(const QUrl &url)
{
    if (!QDesktopServices::openUrl(url))
        m_prompts.message(tr("没有可以打开“%1”的程序").arg(url.toDisplayString(QUrl::PreferLocalFile)));
}

void THelpWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
        showManual();
    }
    TfrmRoot<QDialog>::changeEvent(event);
}
