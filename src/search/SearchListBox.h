#pragma once

#include <QListWidget>

class TQuery;

// A check list offering the searchable columns of a query, labelled with the fields'
// display labels. It reports each item whose check mark changed.
class TSearchListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TSearchListBox(QWidget *parent = nullptr);

    TQuery *ADODataSet() const { return m_dataSet; }
    // Rebuilds the items from the query's fields, skipping those tagged -1; assigning the
    // query already assigned keeps the marks.
    void setADODataSet(TQuery *dataSet);
    // The statement lines of the assigned query (the same list, not a copy).
    QStringList &SQL();

    const QStringList &FieldNames() const { return m_fieldNames; }
    bool isChecked(int index) const;
    void SetItemChecked(int index, bool checked);
    void CheckAll();
    void UncheckAll();

signals:
    void OnItemClickCheck(QObject *sender, int index, bool checked);

protected:
    void changeEvent(QEvent *event) override;

private:
    static QString shownLabel(const QString &label);
    void onClickCheck();
    void setMark(int index, bool checked);

    TQuery *m_dataSet = nullptr;
    QStringList m_fieldNames;
    QStringList m_labels;
    QList<bool> m_states;
    QStringList m_ownSql;
};
