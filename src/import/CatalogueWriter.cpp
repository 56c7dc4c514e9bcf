#include "CatalogueWriter.h"

#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommFunction.h"
#include "store/ProgressSink.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

const QString kInsert =
    u"Insert Into CdRomListDt (DiskCode, FileName, FileSize, FileData, FilePath) values (?, ?, ?, ?, ?)"_s;

std::optional<qint64> discCode(TdmQL &dm, TLCommFunction &comm, const QString &discName)
{
    if (comm.OpenSql(*dm.aqryTempFind, u"Select DiskCode From CdRomListMt Where DiskName = ?"_s, {discName}) <= 0)
        return std::nullopt;
    return dm.aqryTempFind->FieldByName(u"DiskCode"_s).AsInteger();
}

// Writes the rows inside the open transaction; false when the stop request ended it.
bool insertRows(TQuery &insert, qint64 code, const FileRowModel &rows, ProgressSink &progress)
{
    insert.Close();
    insert.SQL() = {kInsert};
    for (int i = 0; i < rows.rowCount(); ++i) {
        const FileRow &row = rows.row(i);
        insert.Params() = {code, row.caption, row.sub[0], row.sub[1], row.sub[2].mid(2)};
        insert.ExecSQL();
        if (i % 100 == 0)
            progress.ReportProgress(u"正在导入第%1条记录"_s.arg(i), i);
        if (progress.StopRequested())
            return false;
    }
    return true;
}

} // namespace

void CatalogueWriter::StoreDiscFiles(TdmQL &dm, TLCommFunction &comm, const FileRowModel &rows,
                                     const QString &discName, ProgressSink &progress)
{
    const auto closing = qScopeGuard([&] {
        dm.aqryTempFind->Close();
        dm.aqryTempFind->Params().clear();
        progress.SetProgressRange(0, 0);
        progress.SetStatusText(u"完成导入"_s);
    });
    const std::optional<qint64> code = discCode(dm, comm, discName);
    if (!code) {
        comm.ShowError(u"导入失败"_s, u"光盘索引库中找不到名为“%1”的光盘，文件记录没有保存。"_s.arg(discName),
                       QString());
        return;
    }
    progress.SetStatusText(QString());
    progress.SetProgressRange(rows.rowCount(), 0);
    dm.aConQl.BeginTrans();
    try {
        if (insertRows(*dm.aqryTempFind, *code, rows, progress))
            dm.aConQl.CommitTrans();
        else
            dm.aConQl.RollbackTrans();
    } catch (const DbError &error) {
        dm.aConQl.RollbackTrans();
        comm.ShowError(u"导入失败"_s, u"文件记录没有保存：\r"_s + error.message(), QString());
    }
}
