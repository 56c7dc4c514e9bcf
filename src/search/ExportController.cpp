#include "ExportController.h"

#include "FileListExport.h"
#include "store/CatalogueLocation.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "ui/ActionStates.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QDir>
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

namespace {

QString startFolder(const QString &programDir)
{
    if (CatalogueLocation::isPortable(programDir) && QFileInfo(programDir).isWritable())
        return programDir;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

// A title as one file name: no folder separators, no control characters, not hidden.
QString fileNameOf(const QString &title)
{
    QString name = title.trimmed();
    for (QChar &c : name)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            c = u'_';
    if (name.startsWith(u'.'))
        name.prepend(u'_');
    return name;
}

} // namespace

QString ExportController::suggestedFile(const QString &programDir, const QString &title)
{
    const QString folder = startFolder(programDir);
    const QString name = fileNameOf(title);
    return name.isEmpty() ? folder : QDir(folder).filePath(name + u".Txt"_s);
}

void ExportController::actCDexpASCExecute()
{
    const FileRowModel &rows = *m_list.rows();
    if (rows.rowCount() == 0)
        return;
    const QString fileName = m_prompts.saveFileName(suggestedFile(m_dm.programDir(), rows.title()),
                                                    tr("文本文件 (*.Txt *.txt)"), u"Txt"_s, true);
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
