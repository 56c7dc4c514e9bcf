#pragma once

#include <QObject>

class ActionStates;
class FileRowModel;
class Prompts;
class QWidget;
class StatusProgress;
class TLCommFunction;
class TdmQL;

// The imports of the main window: the import dialog scans a disc (mode 2) or a folder
// (mode 3) and inserts the disc record; then the listed files are stored under it.
class ImportController : public QObject {
    Q_OBJECT
public:
    // window is disabled while the files are stored, listPanel (the tree and the list)
    // as well, so nothing reads the catalogue meanwhile.
    ImportController(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, StatusProgress &progress,
                     ActionStates &states, QWidget *window, QWidget *listPanel);

    void actCDimpExecute();
    void actDriverImpExecute();
    // Stores the rows of an accepted import under the disc of that name.
    void StoreDiscFiles(const FileRowModel &rows, const QString &discName);

signals:
    // An import stored a new disc of that name.
    void discStored(const QString &discName);

private:
    void runImport(int mode);

    TdmQL &m_dm;
    TLCommFunction &m_commFunction;
    Prompts &m_prompts;
    StatusProgress &m_progress;
    ActionStates &m_states;
    QWidget *m_window;
    QWidget *m_listPanel;
};
