#pragma once

#include "store/FileSearchRequest.h"
#include "ui/FrmRoot.h"

#include <QDialog>
#include <QList>

#include <optional>

class Catalogue;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class Prompts;
class TQuery;
class TSearchListBox;

// The search dialog: a text and the columns to look for it in. Finding opens the search
// query on the catalogue with the search they make; the main window lists what it found.
class TfrmSearch : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    TfrmSearch(TQuery &query, Catalogue &catalogue, Prompts &prompts, QWidget *parent = nullptr);

    // One entry per column of the list: the column while it is searched, empty otherwise.
    using ConditionList = QList<std::optional<FileSearchRequest::Column>>;

    void BuildConditions();
    // The search the text and the ticked columns make.
    FileSearchRequest request() const;
    // The statement's conditions for that search, and the values they bind.
    QString JoinConditions() const;
    QVariantList conditionValues() const;
    const ConditionList &conditions() const { return m_conditions; }

    QGroupBox *GroupBox1;
    QLineEdit *edtQlSearch;
    QGroupBox *GroupBox2;
    TSearchListBox *slbQL;
    QPushButton *btnAll;
    QPushButton *btnNone;
    QPushButton *btnFind;
    QPushButton *btnCancel;
    // Also finds Chinese names by their pinyin; stays as left for the rest of the run.
    QCheckBox *chkPinyin;

signals:
    // "查询(&F)" was pressed and the engine refused the search; the dialog stays open.
    void searchFailed();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void FormShow();
    // Sets every text of the dialog's own in the interface's language.
    void retranslateUi();
    void btnFindClick();

    TQuery &m_query;
    Catalogue &m_catalogue;
    Prompts &m_prompts;
    ConditionList m_conditions;
    QString m_pattern;
    QString m_readingPattern;
    static bool s_pinyin;
};
