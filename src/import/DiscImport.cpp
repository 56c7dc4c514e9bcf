#include "DiscImport.h"

#include "CatalogueWriter.h"
#include "ScanFiles.h"
#include "drives/DriveUtilities.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/ProgressSink.h"

using namespace Qt::StringLiterals;

bool DiscImport::nameTaken(TdmQL &dm, const QString &name)
{
    TQuery &lookup = *dm.aqryTempFind;
    lookup.Close();
    lookup.SQL() = {u"Select DiskName From CdRomListMt Where DiskName = ?"_s};
    lookup.Params() = {name};
    lookup.Open();
    const bool taken = lookup.RecordCount() > 0;
    lookup.Close();
    return taken;
}

DiscImport::Result DiscImport::run(TdmQL &dm, TLCommFunction &commFunction, char letter, const QString &root,
                                   const QStringList &masks, const QString &name, ProgressSink &progress,
                                   ScanSkipped *skipped)
{
    RDriveInfo drive;
    GetDriveInfo(letter, drive);
    FileRowModel rows;
    const bool scanning = true;
    const ScanSkipped passedOver = ScanFiles(root, masks, rows, scanning, &progress);
    if (skipped)
        *skipped = passedOver;
    if (progress.StopRequested())
        return Result::NotStored;
    if (rows.rowCount() == 0)
        return Result::NoFiles;
    if (nameTaken(dm, name))
        return Result::NameTaken;
    const auto code =
        CatalogueWriter::StoreDisc(dm, commFunction, {name, drive.DiskLabel, drive.DiskSerial}, rows, progress);
    return code ? Result::Stored : Result::NotStored;
}
