#pragma once

#include "DiscNode.h"
#include "store/FileKeyReads.h"

#include <QHash>
#include <QObject>
#include <optional>

class ActionStates;
class Prompts;
class QAction;
class QTreeWidget;
class QTreeWidgetItem;
class StatusProgress;
class TLCommFunction;
struct DiscRecord;
class TQuery;
class TSortableListView;
class TdmQL;

// The catalogue browser of the main window: the tree of discs, the file list of the
// selected disc, deleting a disc, and sorting the list by a column.
class DiscBrowser : public QObject {
    Q_OBJECT
public:
    DiscBrowser(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, StatusProgress &progress,
                ActionStates &states, QTreeWidget &tree, TSortableListView &list, QAction &actDel);

    void ReloadDiscTree();
    void AddDiscNode(TQuery &query, QTreeWidgetItem *parent);
    void AddDiscNode(const DiscRecord &record, QTreeWidgetItem *parent);
    void ReopenDiscList();
    std::vector<qint64> LoadDiscFiles(const FileKeyReads::Going &going);
    void ClearSortMarks(int keep);
    // New captions for the file list's columns; a column's sort mark stays.
    void setColumnCaptions(const QStringList &captions);
    QTreeWidgetItem *rootNode() const;
    // The record of the selected node when it is a disc node.
    std::optional<TDiscNode> selectedDisc() const;
    static std::optional<TDiscNode> discOf(const QTreeWidgetItem *item);
    // The names of the tree's discs by code; the first node of a code wins.
    QHash<qint32, QString> discNames() const;
    // Adds the node of the disc an import stored under that code, in its place by name.
    void AddStoredDisc(qint64 discCode);
    // Selects the node of the disc of that name, which lists its files.
    void SelectDisc(const QString &discName);

    // Event handlers.
    void tvCdIndexChange();
    void pmCdIndexPopup();
    void actDelExecute();
    void lvDetailColumnClick(int column);

signals:
    void discDeleted();

private:
    void loadSelectedDisc(const TDiscNode &disc);
    void sortDiscNodes();

    TdmQL &m_dm;
    TLCommFunction &m_commFunction;
    Prompts &m_prompts;
    StatusProgress &m_progress;
    ActionStates &m_states;
    QTreeWidget &m_tree;
    TSortableListView &m_list;
    QAction &m_actDel;
};
