#include "FrmErrorShow.h"

#include "UiFonts.h"

#include <QEvent>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

const char *const kCaption = QT_TRANSLATE_NOOP("TfrmErrorShow", "错误提示");
const char *const kShowDetails = QT_TRANSLATE_NOOP("TfrmErrorShow", "详细资料》[&D]");
const char *const kHideDetails = QT_TRANSLATE_NOOP("TfrmErrorShow", "隐藏《[&S]");
constexpr int kWidth = 448;
constexpr int kPanel1Height = 95;
constexpr int kPanel3Height = 51;
constexpr int kPanel4Height = 137;
constexpr int kDetailsTop = 11;

QString asLines(const QString &text)
{
    QString lines = text;
    lines.replace(u"\r\n"_s, u"\n"_s);
    lines.replace(u'\r', u'\n');
    return lines;
}

QPlainTextEdit *memo(QWidget *parent, const QString &name)
{
    auto *edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

QFrame *panel(QWidget *parent, const QString &name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

} // namespace

TfrmErrorShow::TfrmErrorShow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
    , m_scale(UiFonts::scale())
    , m_detailsHeight(px(kPanel4Height))
{
    setObjectName(u"frmErrorShow"_s);
    setFont(UiFonts::fixedsys(15));

    Panel1 = panel(this, u"Panel1"_s);
    Panel1->setGeometry(0, 0, px(kWidth), px(kPanel1Height));
    memChnInfo = memo(Panel1, u"memChnInfo"_s);
    memChnInfo->setGeometry(px(8), px(5), px(431), px(86));
    memChnInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Panel2 = panel(this, u"Panel2"_s);
    Panel2->setGeometry(0, px(kPanel1Height), px(kWidth), px(kPanel3Height + kPanel4Height));
    Panel3 = panel(Panel2, u"Panel3"_s);
    Panel3->setGeometry(0, 0, px(kWidth), px(kPanel3Height));
    bbtnDetail = new QPushButton(Panel3);
    bbtnDetail->setObjectName(u"bbtnDetail"_s);
    bbtnDetail->setGeometry(px(160), px(20), px(141), px(31));
    bbtnDetail->setAutoDefault(false);
    bbtnClose = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QString(), Panel3);
    bbtnClose->setObjectName(u"bbtnClose"_s);
    bbtnClose->setGeometry(px(320), px(20), px(121), px(31));
    bbtnClose->setDefault(true);

    Panel4 = panel(Panel2, u"Panel4"_s);
    Panel4->setGeometry(0, px(kPanel3Height), px(kWidth), m_detailsHeight);
    memDetailInfo = memo(Panel4, u"memDetailInfo"_s);
    memDetailInfo->setGeometry(px(8), px(kDetailsTop), px(431), px(115));
    memDetailInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memDetailInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memDetailInfo->setLineWrapMode(QPlainTextEdit::NoWrap);

    connect(bbtnDetail, &QPushButton::clicked, this, &TfrmErrorShow::bbtnDetailClick);
    connect(bbtnClose, &QPushButton::clicked, this, &QDialog::accept);
    setClientHeight(px(kPanel1Height + kPanel3Height + kPanel4Height));
    retranslateUi();
}

void TfrmErrorShow::retranslateUi()
{
    if (m_caption.isEmpty())
        setWindowTitle(tr(kCaption));
    bbtnDetail->setText(m_detailsShown ? tr(kHideDetails) : tr(kShowDetails));
    bbtnClose->setText(tr("关闭[&C]"));
}

void TfrmErrorShow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

int TfrmErrorShow::px(int designPixels) const
{
    return qRound(designPixels * m_scale);
}

void TfrmErrorShow::setClientHeight(int height)
{
    setFixedSize(px(kWidth), height);
    Panel2->resize(Panel2->width(), height - Panel1->height());
}

void TfrmErrorShow::Fill(const QString &message, const QString &details, const QString &caption)
{
    Collapse();
    m_caption = caption;
    if (!caption.isEmpty())
        setWindowTitle(caption);
    memChnInfo->setPlainText(asLines(message));
    if (!details.isEmpty())
        memDetailInfo->setPlainText(asLines(details));
    else
        bbtnDetail->hide();
}

void TfrmErrorShow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmErrorShow::FormShow()
{
    m_detailsHeight = Panel4->height();
}

void TfrmErrorShow::Collapse()
{
    Panel4->hide();
    m_detailsShown = false;
    bbtnDetail->setText(tr(kShowDetails));
    setClientHeight(Panel1->height() + Panel3->height() + memDetailInfo->y() - 1);
}

void TfrmErrorShow::Expand()
{
    setClientHeight(Panel1->height() + Panel3->height() + m_detailsHeight);
    Panel4->show();
    m_detailsShown = true;
    bbtnDetail->setText(tr(kHideDetails));
}

bool TfrmErrorShow::expanded() const
{
    return Panel4->isVisibleTo(this);
}

void TfrmErrorShow::bbtnDetailClick()
{
    if (!m_detailsShown)
        Expand();
    else
        Collapse();
}
