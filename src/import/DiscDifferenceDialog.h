#pragma once

#include <QDialog>

class DiscUpdate;
class QLabel;
class QTreeWidget;

// The difference an update found, before anything is written: the counts, and the added,
// removed and changed files each under its heading. 确定 applies it, 取消 changes nothing.
class TfrmDiscDifference : public QDialog {
    Q_OBJECT
public:
    TfrmDiscDifference(const QString &discName, const DiscUpdate &update, QWidget *parent = nullptr);

    // A heading lists at most this many files, then says how many more there are.
    static constexpr int kListedFiles = 2000;

private:
    void addGroup(const QString &heading, const QList<QStringList> &files, qsizetype total);

    QLabel *m_counts;
    QTreeWidget *m_files;
};
