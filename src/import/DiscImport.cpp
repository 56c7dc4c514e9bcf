#include "DiscImport.h"

#include "CatalogueWriter.h"
#include "RowChecksums.h"
#include "ScanFiles.h"
#include "drives/DriveUtilities.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/ProgressSink.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace {
const QString kFolderTimeKey = u"import/folderTime"_s;
const QString kChecksumsKey = u"import/checksums"_s;

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Quillon"_s, u"Quillon"_s);
}
} // namespace

ScanTime DiscImport::savedFolderTime()
{
    return settings().value(kFolderTimeKey).toString() == u"modified"_s ? ScanTime::Modified : ScanTime::Created;
}

void DiscImport::saveFolderTime(ScanTime time)
{
    settings().setValue(kFolderTimeKey, time == ScanTime::Modified ? u"modified"_s : u"created"_s);
}

bool DiscImport::savedChecksums()
{
    return settings().value(kChecksumsKey, false).toBool();
}

void DiscImport::saveChecksums(bool on)
{
    settings().setValue(kChecksumsKey, on);
}

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
                                   const QStringList &masks, const QString &name, ProgressSink &progress, ScanTime time,
                                   ScanSkipped *skipped, ImportChecksums *checksums)
{
    RDriveInfo drive;
    GetDriveInfo(letter, drive);
    FileRowModel rows;
    const bool scanning = true;
    const ScanSkipped passedOver = ScanFiles(root, masks, rows, scanning, &progress, time);
    if (skipped)
        *skipped = passedOver;
    if (progress.StopRequested())
        return Result::NotStored;
    if (rows.rowCount() == 0)
        return Result::NoFiles;
    if (nameTaken(dm, name))
        return Result::NameTaken;
    std::optional<QList<QByteArray>> digests;
    if (checksums && checksums->wanted) {
        digests = RowChecksums::compute(
            letter, rows, [&](const QString &text) { progress.SetStatusText(text); },
            [&] { return progress.StopRequested(); }, *checksums);
        if (!digests)
            return Result::NotStored;
    }
    const auto code = CatalogueWriter::StoreDisc(dm, commFunction, {name, drive.DiskLabel, drive.DiskSerial}, rows,
                                                 progress, digests ? &*digests : nullptr);
    return code ? Result::Stored : Result::NotStored;
}
