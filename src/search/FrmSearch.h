#pragma once

#include "ui/FrmRoot.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class Prompts;
class TQuery;
class TSearchListBox;

// The search dialog: a text and the columns to look for it in. Finding opens the search
// query with the conditions; the main window lists what it found.
class TfrmSearch : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    TfrmSearch(TQuery &query, Prompts &prompts, QWidget *parent = nullptr);

    void BuildConditions();
    QString JoinConditions() const;
    // The bound values of the joined conditions, one per condition.
    QVariantList conditionValues() const;
    const QStringList &conditions() const { return m_conditions; }

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
    Prompts &m_prompts;
    QStringList m_conditions;
    QString m_pattern;
    QString m_readingPattern;
    static bool s_pinyin;
};
