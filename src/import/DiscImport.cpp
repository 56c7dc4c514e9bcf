#include "DiscImport.h"

#include "CatalogueWriter.h"
#include "ScanFiles.h"
#include "drives/DriveUtilities.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommFunction.h"

using namespace Qt::StringLiterals;

bool DiscImport::nameTaken(TdmQL &dm, TLCommFunction &commFunction, const QString &name)
{
    return commFunction.OpenSql(*dm.aqryTempFind, u"Select DiskName From CdRomListMt Where DiskName = ?"_s, {name}) > 0;
}

void DiscImport::insertDisc(TdmQL &dm, TLCommFunction &commFunction, const QString &name, const QString &label,
                            const QString &serial)
{
    commFunction.ExecSql(*dm.aqryTempFind,
                         u"Insert Into CdRomListMt (DiskName, DiskLabel, DiskSerial) values (?, ?, ?)"_s,
                         {name, label, serial});
}

DiscImport::Result DiscImport::run(TdmQL &dm, TLCommFunction &commFunction, char letter, const QString &root,
                                   const QStringList &masks, const QString &name, ProgressSink &progress)
{
    RDriveInfo drive;
    GetDriveInfo(letter, drive);
    FileRowModel rows;
    const bool scanning = true;
    ScanFiles(root, masks, rows, scanning, &progress);
    if (rows.rowCount() == 0)
        return Result::NoFiles;
    if (nameTaken(dm, commFunction, name))
        return Result::NameTaken;
    insertDisc(dm, commFunction, name, drive.DiskLabel, drive.DiskSerial);
    CatalogueWriter::StoreDiscFiles(dm, commFunction, rows, name, progress);
    return Result::Stored;
}
