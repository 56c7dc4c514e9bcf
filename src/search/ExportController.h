#pragma once

#include <QObject>

class ActionStates;
class Prompts;
class QWidget;
class StatusProgress;
class TSortableListView;
class TdmQL;

// The export of the main window's file list to a text file the user names.
class ExportController : public QObject {
    Q_OBJECT
public:
    // listPanel is disabled while the rows are written, so the list cannot change.
    ExportController(TdmQL &dm, Prompts &prompts, StatusProgress &progress, ActionStates &states,
                     TSortableListView &list, QWidget *listPanel);

    void actCDexpASCExecute();
    // Where the save dialog starts: the program's folder when the program is portable
    // and may write there, else the user's documents, else the home folder (a folder
    // that exists, never a missing one); with the list's title as the file's name.
    static QString suggestedFile(const QString &programDir, const QString &title);

private:

    TdmQL &m_dm;
    Prompts &m_prompts;
    StatusProgress &m_progress;
    ActionStates &m_states;
    TSortableListView &m_list;
    QWidget *m_listPanel;
};
