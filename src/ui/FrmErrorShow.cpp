#include "FrmErrorShow.h"

#include "UiFonts.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

const QString kCaption = u"错误提示"_s;
const QString kShowDetails = u"详细资料》[&D]"_s;
const QString kHideDetails = u"隐藏《[&S]"_s;
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
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_scale(UiFonts::scale()), m_detailsHeight(px(kPanel4Height))
{
    setObjectName(u"frmErrorShow"_s);
    setWindowTitle(kCaption);
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
    bbtnDetail = new QPushButton(kShowDetails, Panel3);
    bbtnDetail->setObjectName(u"bbtnDetail"_s);
    bbtnDetail->setGeometry(px(160), px(20), px(141), px(31));
    bbtnDetail->setAutoDefault(false);
    bbtnClose = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), u"关闭[&C]"_s, Panel3);
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
    bbtnDetail->setText(kShowDetails);
    Panel4->hide();
    setClientHeight(Panel1->height() + Panel3->height() + memDetailInfo->y() - 1);
}

void TfrmErrorShow::Expand()
{
    bbtnDetail->setText(kHideDetails);
    setClientHeight(Panel1->height() + Panel3->height() + m_detailsHeight);
    Panel4->show();
}

bool TfrmErrorShow::expanded() const
{
    return Panel4->isVisibleTo(this);
}

void TfrmErrorShow::bbtnDetailClick()
{
    if (bbtnDetail->text() == kShowDetails)
        Expand();
    else
        Collapse();
}
