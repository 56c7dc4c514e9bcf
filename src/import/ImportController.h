#pragma once

#include "store/ImportRecord.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <optional>

class ActionStates;
struct RDriveInfo;
class FileRowModel;
class Prompts;
class QWidget;
class StatusProgress;
class TLCommFunction;
class TdmQL;

// The imports of the main window: the import dialog scans a disc (mode 2) or a folder
// (mode 3) and checks the name; then the disc and its listed files are stored together.
class ImportController : public QObject {
    Q_OBJECT
public:
    // window is disabled while the files are stored, listPanel (the tree and the list)
    // as well, so nothing reads the catalogue meanwhile.
    ImportController(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, StatusProgress &progress,
                     ActionStates &states, QWidget *window, QWidget *listPanel);

    void actCDimpExecute();
    void actDriverImpExecute();
    // Stores an accepted import, disc and files; the new disc's code, or nothing when
    // nothing was stored (stopped, or a failure that was reported).
    // digests: each row's SHA-256, when the import computed them.
    std::optional<qint64> StoreDisc(const FileRowModel &rows, const QString &discName, const RDriveInfo &drive,
                                    const std::optional<ImportRecord> &record = std::nullopt,
                                    const QList<QByteArray> *digests = nullptr);

signals:
    // An import stored a new disc with this code.
    void discStored(qint64 discCode);

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
