#include "ExportController.h"

#include "FileListExport.h"
#include "store/AppError.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "ui/ActionStates.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
    written = writeFile(fileName, rows);
}

// Writes through a temporary file beside the target, which replaces it only once every
// row asked for (all of them, or those before a stop request) was written: a failure
// leaves the previous file as it was. A device or pipe has no previous content to keep and
// is written directly. The rows that reached the file.
int ExportController::writeFile(const QString &fileName, const FileRowModel &rows)
{
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile()) {
        QFile device(fileName);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw AppError(device.errorString());
        return FileListExport::write(rows, device, m_progress);
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(file.errorString());
    const int written = FileListExport::write(rows, file, m_progress);
    if (!file.commit())
        throw AppError(file.errorString());
    return written;
}
