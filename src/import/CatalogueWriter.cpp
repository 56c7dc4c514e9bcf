#include "CatalogueWriter.h"

#include "store/DmQL.h"
#include "store/FileChecksums.h"
#include "store/FileRowModel.h"
#include "store/LCommFunction.h"
#include "store/ProgressSink.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

const QString kInsertDisc = u"Insert Into CdRomListMt (DiskName, DiskLabel, DiskSerial) values (?, ?, ?)"_s;
const QString kInsertFile =
    u"Insert Into CdRomListDt (DiskCode, FileName, FileSize, FileData, FilePath) values (?, ?, ?, ?, ?)"_s;

qint64 insertDisc(TQuery &insert, const CatalogueWriter::Disc &disc)
{
    insert.Close();
    insert.SQL() = {kInsertDisc};
    insert.Params() = {disc.name, disc.label, disc.serial};
    insert.ExecSQL();
    return insert.LastInsertId();
}

} // namespace

bool CatalogueWriter::StoreDiscFiles(TQuery &insert, qint64 code, const FileRowModel &rows, ProgressSink &progress,
                                     const QList<QByteArray> *digests)
{
    insert.Close();
    insert.SQL() = {kInsertFile};
    std::optional<FileChecksums> checksums;
    if (digests)
        checksums.emplace(insert.connectionName());
    for (int i = 0; i < rows.rowCount(); ++i) {
        const FileRow &row = rows.row(i);
        insert.Params() = {code, row.caption, row.sub[0], row.sub[1], row.sub[2].mid(2)};
        insert.ExecSQL();
        if (checksums)
            checksums->store(insert.LastInsertId(), digests->value(i));
        if (i % 100 == 0)
            progress.ReportProgress(QCoreApplication::translate("CatalogueWriter", "正在导入第%1条记录").arg(i), i);
        if (progress.StopRequested())
            return false;
    }
    return true;
}

std::optional<qint64> CatalogueWriter::StoreDisc(TdmQL &dm, TLCommFunction &comm, const Disc &disc,
                                                 const FileRowModel &rows, ProgressSink &progress,
                                                 const QList<QByteArray> *digests)
{
    TQuery &insert = *dm.aqryTempFind;
    const auto closing = qScopeGuard([&] {
        insert.Close();
        insert.Params().clear();
        progress.SetProgressRange(0, 0);
        progress.SetStatusText(QCoreApplication::translate("CatalogueWriter", "完成导入"));
    });
    progress.SetStatusText(QString());
    progress.SetProgressRange(rows.rowCount(), 0);
    try {
        Transaction transaction(dm.aConQl);
        const qint64 code = insertDisc(insert, disc);
        if (!StoreDiscFiles(insert, code, rows, progress, digests))
            return std::nullopt;
        transaction.commit();
        return code;
    } catch (const DbError &error) {
        comm.ShowError(QCoreApplication::translate("CatalogueWriter", "导入失败"),
                       QCoreApplication::translate("CatalogueWriter", "光盘“%1”没有保存：\r").arg(disc.name) +
                           error.message(),
                       QString());
        return std::nullopt;
    }
}
