#include "DiscPropertiesDialog.h"

#include "RecordTable.h"
#include "store/DiscDetails.h"
#include "store/DiscLending.h"
#include "ui/Prompts.h"

#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel *valueLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

TfrmDiscProperties::TfrmDiscProperties(const QString &connectionName, qint64 discCode, Prompts &prompts,
                                       bool readOnly, QWidget *parent)
    : TfrmRoot<QDialog>(parent)
    , m_connectionName(connectionName)
    , m_code(discCode)
    , m_prompts(prompts)
    , m_readOnly(readOnly)
{
    setObjectName(u"frmDiscProperties"_s);
    auto *columns = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(createDiscGroup());
    left->addWidget(createImportGroup());
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(createKeepingGroup());
    right->addWidget(createLendingGroup(), 1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto *buttons = new QDialogButtonBox(this);
    btnOk = buttons->addButton(QDialogButtonBox::Ok);
    btnOk->setObjectName(u"btnOk"_s);
    btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
    btnCancel->setObjectName(u"btnCancel"_s);
    connect(btnOk, &QPushButton::clicked, this, &TfrmDiscProperties::actOkExecute);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);
    load();
    retranslateUi();
    resize(800, 500);
}

QLabel *TfrmDiscProperties::caption(const char *text)
{
    auto *label = new QLabel(this);
    m_captions.append({label, text});
    return label;
}

QGroupBox *TfrmDiscProperties::createDiscGroup()
{
    grpDisc = new QGroupBox(this);
    auto *form = new QFormLayout(grpDisc);
    edtName = new QLineEdit(grpDisc);
    edtName->setObjectName(u"edtName"_s);
    lblLabel = valueLabel(grpDisc, u"lblLabel"_s);
    lblSerial = valueLabel(grpDisc, u"lblSerial"_s);
    lblFiles = valueLabel(grpDisc, u"lblFiles"_s);
    lblSize = valueLabel(grpDisc, u"lblSize"_s);
    form->addRow(caption(QT_TR_NOOP("光盘名：")), edtName);
    form->addRow(caption(QT_TR_NOOP("卷标：")), lblLabel);
    form->addRow(caption(QT_TR_NOOP("序列号：")), lblSerial);
    form->addRow(caption(QT_TR_NOOP("文件数：")), lblFiles);
    form->addRow(caption(QT_TR_NOOP("总大小：")), lblSize);
    return grpDisc;
}

QGroupBox *TfrmDiscProperties::createImportGroup()
{
    grpImport = new QGroupBox(this);
    auto *layout = new QVBoxLayout(grpImport);
    lblImport = valueLabel(grpImport, u"lblImport"_s);
    layout->addWidget(lblImport);
    return grpImport;
}

QGroupBox *TfrmDiscProperties::createKeepingGroup()
{
    grpKeeping = new QGroupBox(this);
    auto *form = new QFormLayout(grpKeeping);
    edtLocation = new QLineEdit(grpKeeping);
    edtLocation->setObjectName(u"edtLocation"_s);
    edtNote = new QPlainTextEdit(grpKeeping);
    edtNote->setObjectName(u"edtNote"_s);
    edtNote->setTabChangesFocus(true);
    edtNote->setFixedHeight(80);
    edtKeywords = new QLineEdit(grpKeeping);
    edtKeywords->setObjectName(u"edtKeywords"_s);
    form->addRow(caption(QT_TR_NOOP("位置：")), edtLocation);
    form->addRow(caption(QT_TR_NOOP("说明：")), edtNote);
    form->addRow(caption(QT_TR_NOOP("关键词：")), edtKeywords);
    return grpKeeping;
}

QGroupBox *TfrmDiscProperties::createLendingGroup()
{
    grpLending = new QGroupBox(this);
    auto *form = new QFormLayout(grpLending);
    edtBorrower = new QLineEdit(grpLending);
    edtBorrower->setObjectName(u"edtBorrower"_s);
    edtLentOn = new QDateEdit(QDate::currentDate(), grpLending);
    edtLentOn->setObjectName(u"edtLentOn"_s);
    edtLentOn->setDisplayFormat(u"yyyy-MM-dd"_s);
    edtLentOn->setCalendarPopup(true);
    btnReturn = new QPushButton(grpLending);
    btnReturn->setObjectName(u"btnReturn"_s);
    connect(btnReturn, &QPushButton::clicked, this, [this] {
        edtBorrower->clear();
        edtLentOn->setDate(QDate::currentDate());
    });
    auto *since = new QHBoxLayout;
    since->addWidget(edtLentOn, 1);
    since->addWidget(btnReturn);
    tblLendings = recordTable(grpLending, u"tblLendings"_s, 3);
    tblLendings->setColumnWidth(0, 100);
    tblLendings->setColumnWidth(1, 86);
    form->addRow(caption(QT_TR_NOOP("借给：")), edtBorrower);
    form->addRow(caption(QT_TR_NOOP("借出日期：")), since);
    form->addRow(caption(QT_TR_NOOP("借出记录：")), tblLendings);
    return grpLending;
}

void TfrmDiscProperties::load()
{
    const std::optional<DiscOverview> disc = DiscDetailsStore::overview(m_connectionName, m_code);
    if (!disc)
        return;
    m_loadedName = disc->name;
    m_loadedDetails = disc->details;
    m_loadedBorrower = disc->borrower;
    edtName->setText(disc->name);
    lblLabel->setText(disc->label);
    lblSerial->setText(disc->serial);
    const DiscTotals totals = DiscDetailsStore::totals(m_connectionName, m_code);
    lblFiles->setText(QString::number(totals.files));
    lblSize->setText(u"%1 (%2)"_s.arg(QLocale().formattedDataSize(totals.bytes), QString::number(totals.bytes)));
    edtLocation->setText(disc->details.location);
    edtNote->setPlainText(disc->details.note);
    edtKeywords->setText(disc->details.keywords);
    edtBorrower->setText(disc->borrower);
    if (!disc->lentOn.isEmpty())
        edtLentOn->setDate(QDate::fromString(disc->lentOn, Qt::ISODate));
    for (const Lending &lending : DiscLendingStore::history(m_connectionName, m_code))
        appendRecord(*tblLendings, {lending.borrower, lending.lentOn, lending.returnedOn});
    m_record = ImportRecordStore::read(m_connectionName, m_code);
    for (QWidget *edit : std::initializer_list<QWidget *>{edtName, edtLocation, edtNote, edtKeywords, edtBorrower,
                                                          edtLentOn, btnReturn, btnOk})
        edit->setEnabled(!m_readOnly);
}

QString TfrmDiscProperties::importText() const
{
    if (!m_record)
        return tr("未知");
    QString source;
    switch (m_record->source) {
    case ImportRecord::Source::Drive:
        source = tr("驱动器 %1:，卷标 %2，序列号 %3").arg(m_record->letter, m_record->label, m_record->serial);
        break;
    case ImportRecord::Source::Folder:
        source = tr("文件夹 %1").arg(m_record->path);
        break;
    case ImportRecord::Source::Image:
        source = tr("光盘映像 %1").arg(m_record->path.isEmpty() ? m_record->label : m_record->path);
        break;
    }
    const QString time = m_record->options.value(u"fileTime"_s).toString();
    QStringList lines{tr("导入时间：%1").arg(m_record->importedAt), tr("类别：%1").arg(m_record->category),
                      tr("文件掩码：%1").arg(m_record->masks.join(u' ')), tr("来源：%1").arg(source)};
    if (!time.isEmpty())
        lines.append(tr("文件时间：%1").arg(time == u"modified"_s ? tr("修改时间") : tr("创建时间")));
    return lines.join(u'\n');
}

void TfrmDiscProperties::retranslateUi()
{
    setWindowTitle(tr("光盘属性"));
    grpDisc->setTitle(tr("光盘"));
    grpImport->setTitle(tr("导入"));
    grpKeeping->setTitle(tr("保管"));
    grpLending->setTitle(tr("借出"));
    for (const auto &[label, text] : m_captions)
        label->setText(tr(text));
    edtLocation->setPlaceholderText(tr("如：书房 柜2 第3格"));
    edtKeywords->setPlaceholderText(tr("用空格或逗号分开"));
    btnReturn->setText(tr("归还"));
    tblLendings->setHorizontalHeaderLabels({tr("借给"), tr("借出日期"), tr("归还日期")});
    lblImport->setText(importText());
    btnOk->setText(tr("确定"));
    btnCancel->setText(tr("取消"));
}

void TfrmDiscProperties::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    TfrmRoot<QDialog>::changeEvent(event);
}

DiscChange TfrmDiscProperties::change() const
{
    DiscChange change;
    if (edtName->text() != m_loadedName)
        change.name = edtName->text();
    const DiscDetails typed{edtLocation->text(), edtNote->toPlainText(), edtKeywords->text()};
    if (typed != m_loadedDetails) {
        change.location = typed.location;
        change.note = typed.note;
        change.keywords = typed.keywords;
    }
    const QString borrower = edtBorrower->text().trimmed();
    if (borrower != m_loadedBorrower) {
        change.giveBack = !m_loadedBorrower.isEmpty();
        if (!borrower.isEmpty()) {
            change.lendTo = borrower;
            change.lentOn = edtLentOn->date().toString(Qt::ISODate);
        }
    }
    return change;
}

void TfrmDiscProperties::actOkExecute()
{
    switch (DiscChangeStore::apply(m_connectionName, m_code, change())) {
    case DiscDetailsStore::Rename::NameTaken:
        m_prompts.message(tr("光盘索引库中已经有该名称的光盘了!"));
        edtName->setFocus();
        return;
    case DiscDetailsStore::Rename::Empty:
        m_prompts.message(tr("请输入光盘名"));
        edtName->setFocus();
        return;
    case DiscDetailsStore::Rename::Done:
        break;
    }
    m_changed = true;
    accept();
}
