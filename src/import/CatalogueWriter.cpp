#include "CatalogueWriter.h"

#include "store/Catalogue.h"
#include "store/DmQL.h"
#include "store/FileChecksums.h"
#include "store/FileRowModel.h"
#include "store/LCommFunction.h"
#include "store/ProgressSink.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QScopeGuard>

bool CatalogueWriter::StoreDiscFiles(TdmQL &dm, qint64 code, const FileRowModel &rows, ProgressSink &progress,
                                     const QList<QByteArray> *digests)
{
    Catalogue &catalogue = dm.catalogue();
    std::optional<FileChecksums> checksums;
    if (digests)
        checksums.emplace(dm.aConQl.connectionName());
    for (int i = 0; i < rows.rowCount(); ++i) {
        const qint64 file = catalogue.insertFile(rows.row(i).scannedRecord(code));
        if (checksums)
            checksums->store(file, digests->value(i));
        if (rows.row(i).archiveMember)
            catalogue.markArchiveMember(file);
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
        const qint64 code = dm.catalogue().insertDisc({0, disc.name, disc.label, disc.serial});
        if (disc.record)
            ImportRecordStore::write(dm.aConQl.connectionName(), code, *disc.record);
        if (!StoreDiscFiles(dm, code, rows, progress, digests))
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
