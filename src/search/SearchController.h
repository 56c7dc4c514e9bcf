#pragma once

#include <QHash>
#include <QObject>
#include <functional>

class ActionStates;
class Prompts;
class QAction;
class QWidget;
class StatusProgress;
class TQuery;
class TSortableListView;
class TdmQL;

// The search of the main window: the search dialog, then the found file records listed
// in the file list with their disc names.
class SearchController : public QObject {
    Q_OBJECT
public:
    using DiscNames = std::function<QHash<qint32, QString>()>;

    // discNames gives the names the hits are listed with, by disc code; listPanel (the
    // tree and the list) is disabled while the hits are listed, so nothing else changes
    // the list meanwhile.
    SearchController(TdmQL &dm, Prompts &prompts, StatusProgress &progress, ActionStates &states,
                     TSortableListView &list, QAction &actFind, DiscNames discNames, QWidget *window,
                     QWidget *listPanel);

    void actFindExecute();
    // Lists the file records an open search query found, with their disc names.
    void ShowQueryResult(TQuery &query);

private:
    void listHits(TQuery &query);
    void emptyList();

    TdmQL &m_dm;
    Prompts &m_prompts;
    StatusProgress &m_progress;
    ActionStates &m_states;
    TSortableListView &m_list;
    QAction &m_actFind;
    DiscNames m_discNames;
    QWidget *m_window;
    QWidget *m_listPanel;
};
