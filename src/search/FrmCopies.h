#pragma once

#include "ui/FrmRoot.h"

#include <QDialog>
#include <optional>

class QTabWidget;
class StatusProgress;
class TSortableListView;

// 副本统计: which files exist on one disc only, and which on several, for the whole
// catalogue or for one disc: per disc the share of its files that have a copy on another
// disc, the files found on one disc only, and the groups of copies with their discs.
class TfrmCopies : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    struct Disc {
        qint64 code = 0;
        QString name;
    };
    TfrmCopies(const QString &connectionName, std::optional<Disc> disc, QWidget *parent = nullptr);

    // Reads the three lists from the catalogue, with the records read so far in the status
    // line and events let run; stops when the dialog is closed or the program asked to stop.
    void fill(StatusProgress &progress);

    QTabWidget *pcCopies;
    TSortableListView *lvShares;
    TSortableListView *lvSingle;
    TSortableListView *lvDuplicates;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QString m_connectionName;
    std::optional<Disc> m_disc;
};
