#include "FrmSearch.h"

#include "SearchListBox.h"
#include "store/Catalogue.h"
#include "store/DbError.h"
#include "store/Query.h"
#include "ui/ActionGuard.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {
QPushButton *button(QWidget *parent, const QString &name, QRect geometry)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}
} // namespace

bool TfrmSearch::s_pinyin = false;

TfrmSearch::TfrmSearch(TQuery &query, Catalogue &catalogue, Prompts &prompts, QWidget *parent)
    : TfrmRoot<QDialog>(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_query(query)
    , m_catalogue(catalogue)
    , m_prompts(prompts)
{
    setObjectName(u"frmSearch"_s);
    setFixedSize(268, 271);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(u"GroupBox1"_s);
    GroupBox1->setGeometry(9, 9, 250, 58);
    edtQlSearch = new QLineEdit(GroupBox1);
    edtQlSearch->setObjectName(u"edtQlSearch"_s);
    edtQlSearch->setGeometry(9, 19, 230, 22);

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName(u"GroupBox2"_s);
    GroupBox2->setGeometry(9, 75, 250, 188);
    slbQL = new TSearchListBox(GroupBox2);
    slbQL->setObjectName(u"slbQL"_s);
    slbQL->setGeometry(9, 19, 123, 132);
    slbQL->setADODataSet(&m_query);
    btnAll = button(GroupBox2, u"btnAll"_s, {9, 159, 58, 20});
    btnNone = button(GroupBox2, u"btnNone"_s, {75, 159, 57, 20});
    btnFind = button(GroupBox2, u"btnFind"_s, {146, 65, 87, 30});
    btnFind->setDefault(true);
    btnCancel = button(GroupBox2, u"btnCancel"_s, {146, 103, 87, 29});
    chkPinyin = new QCheckBox(GroupBox2);
    chkPinyin->setObjectName(u"chkPinyin"_s);
    chkPinyin->setGeometry(146, 159, 87, 20);
    chkPinyin->setChecked(s_pinyin);

    connect(edtQlSearch, &QLineEdit::textChanged, this, [this] { BuildConditions(); });
    connect(slbQL, &TSearchListBox::OnItemClickCheck, this, [this] { BuildConditions(); });
    connect(chkPinyin, &QCheckBox::toggled, this, [this](bool on) {
        s_pinyin = on;
        BuildConditions();
    });
    connect(btnAll, &QPushButton::clicked, slbQL, &TSearchListBox::CheckAll);
    connect(btnNone, &QPushButton::clicked, slbQL, &TSearchListBox::UncheckAll);
    connect(btnFind, &QPushButton::clicked, this, ActionGuard::wrap(m_prompts, [this] { btnFindClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    retranslateUi();
}

void TfrmSearch::retranslateUi()
{
    setWindowTitle(tr("查询"));
    GroupBox1->setTitle(tr("查找"));
    GroupBox2->setTitle(tr("需要查找的字段"));
    btnAll->setText(tr("全选"));
    btnNone->setText(tr("全无"));
    btnFind->setText(tr("查询(&F)"));
    btnCancel->setText(tr("取消(&C)"));
    chkPinyin->setText(tr("拼音"));
    chkPinyin->setToolTip(tr("也按拼音查找中文名称：全拼（zhoujielun）或首字母（zjl）"));
}

void TfrmSearch::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    TfrmRoot<QDialog>::changeEvent(event);
}

void TfrmSearch::showEvent(QShowEvent *event)
{
    TfrmRoot<QDialog>::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmSearch::FormShow()
{
    m_conditions = ConditionList(slbQL->count());
    slbQL->SetItemChecked(0, true);
    edtQlSearch->setFocus();
}

void TfrmSearch::BuildConditions()
{
    m_conditions = ConditionList(slbQL->count());
    m_pattern = SearchCondition::pattern(edtQlSearch->text());
    m_readingPattern = chkPinyin->isChecked() ? SearchCondition::readingPattern(edtQlSearch->text()) : QString();
    if (m_pattern.isEmpty())
        return;
    for (int i = 0; i < slbQL->count(); ++i)
        if (slbQL->isChecked(i))
            m_conditions[i] = FileSearchRequest::columnNamed(slbQL->FieldNames().at(i));
}

FileSearchRequest TfrmSearch::request() const
{
    FileSearchRequest search{{}, m_pattern, m_readingPattern};
    for (const std::optional<FileSearchRequest::Column> &column : m_conditions)
        if (column)
            search.columns.append(*column);
    return search;
}

QString TfrmSearch::JoinConditions() const
{
    return SearchStatement::conditions(request()).text;
}

QVariantList TfrmSearch::conditionValues() const
{
    return SearchStatement::conditions(request()).values;
}

void TfrmSearch::btnFindClick()
{
    bool anyChecked = false;
    for (int i = 0; i < slbQL->count(); ++i)
        anyChecked = anyChecked || slbQL->isChecked(i);
    if (!anyChecked) {
        reject();
        return;
    }
    try {
        m_catalogue.openSearch(m_query, request());
    } catch (const DbError &) {
        emit searchFailed();
        throw; // the guard shows the engine's message
    }
    accept();
}
