#pragma once

#include "DiscNodeLook.h"
#include "store/DiscFilter.h"
#include "store/DiscVerifications.h"

#include <QObject>

class ActionStates;
class Prompts;
class QAction;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// Where each disc is: the disc nodes' tooltips and marks, the filter line above the tree
// (查找光盘…), 属性 of the selected disc and the list of lent discs. It works on the tree the
// browser fills and reads the catalogue through the store's disc records.
class DiscShelf : public QObject {
    Q_OBJECT
public:
    DiscShelf(const QString &connectionName, Prompts &prompts, ActionStates &states, QTreeWidget &tree,
              QLineEdit &filterLine, QAction &actProperties);

    // Reads every disc's details and lending again and shows them on the nodes; the filter
    // stays as typed. After the tree was filled, a disc added or deleted.
    void refresh();
    // Narrows the tree to the discs that hold the text; an empty text shows every disc again.
    // The selected disc stays selected, and in view once shown.
    void applyFilter(const QString &text);
    // 属性 of the selected disc (or of item, when given).
    void showProperties(QTreeWidgetItem *item = nullptr);
    // 借出的光盘: the discs that are out, the oldest lending first; choosing one selects it.
    void showLentDiscs(QWidget *parent);
    // 需要检查的光盘: the discs never verified or not for the chosen time; choosing one selects it.
    void showDueDiscs(QWidget *parent);
    // Selects the disc's node, with the filter cleared so that it shows.
    void selectDisc(qint32 code);
    // Enables 属性 for a disc node.
    void currentChanged();

signals:
    // A disc was renamed: lists naming discs (the drive list) look again.
    void discRenamed();

private:
    QTreeWidgetItem *nodeOf(qint32 code) const;
    void decorate(QTreeWidgetItem *node, const DiscOverview &disc);
    void updateDisc(QTreeWidgetItem *node, qint32 code);
    bool readOnly() const;

    QString m_connectionName;
    Prompts &m_prompts;
    ActionStates &m_states;
    QTreeWidget &m_tree;
    QLineEdit &m_filterLine;
    QAction &m_actProperties;
    DiscFilter m_filter;
    QHash<qint32, Verification> m_verified; // each disc's latest verification
};
