// The main window's export of its file list to a text file.
#include "app/FrmMain.h"

#include "FileListExport.h"
#include "store/AppError.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "ui/Prompts.h"
#include "ui/SortableListView.h"

#include <QFile>
#include <QFrame>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

void TfrmMain::actCDexpASCExecute()
{
    const FileRowModel &rows = *lvDetail->rows();
    if (rows.rowCount() == 0)
        return;
    const QString fileName =
        m_prompts.saveFileName(m_dm.programDir(), u"文本文件 (*.Txt *.txt)"_s, u"Txt"_s, true);
    if (fileName.isEmpty())
        return;
    BusyScope busy(*this);
    Panel3->setEnabled(false);
    QFile file(fileName);
    const auto closing = qScopeGuard([&] {
        file.close();
        Panel3->setEnabled(true);
        SetStatusText(u"共导出%1条记录"_s.arg(rows.rowCount()));
        SetProgressRange(0, 0);
    });
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw AppError(file.errorString());
    FileListExport::write(rows, file, *this);
    if (!file.flush())
        throw AppError(file.errorString());
}
