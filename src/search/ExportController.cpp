#include "ExportController.h"

#include "FileListExport.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "ui/ActionStates.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

ExportController::ExportController(TdmQL &dm, Prompts &prompts, StatusProgress &progress, ActionStates &states,
                                   TSortableListView &list, QWidget *listPanel)
    : QObject(listPanel)
    , m_dm(dm)
    , m_prompts(prompts)
    , m_progress(progress)
    , m_states(states)
    , m_list(list)
    , m_listPanel(listPanel)
{
}

// The program's folder, as it has always been; the user's documents where that folder is
// not the user's to write (an installed program).
QString ExportController::startFolder() const
{
    const QString programDir = m_dm.programDir();
    if (QFileInfo(programDir).isWritable())
        return programDir;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void ExportController::actCDexpASCExecute()
{
    const FileRowModel &rows = *m_list.rows();
    if (rows.rowCount() == 0)
        return;
    const QString fileName = m_prompts.saveFileName(startFolder(), tr("文本文件 (*.Txt *.txt)"), u"Txt"_s, true);
    if (fileName.isEmpty())
        return;
    ActionStates::BusyScope busy(m_states);
    m_listPanel->setEnabled(false);
    int written = 0;
    const auto closing = qScopeGuard([&] {
        m_listPanel->setEnabled(true);
        m_progress.SetStatusText(tr("共导出%1条记录").arg(written));
        m_progress.SetProgressRange(0, 0);
    });
    written = FileListExport::writeFile(fileName, rows, m_progress);
}
