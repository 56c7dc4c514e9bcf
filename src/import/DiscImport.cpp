#include "DiscImport.h"

#include "CatalogueWriter.h"
#include "ScanFiles.h"
#include "drives/DriveUtilities.h"
#include "store/Catalogue.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/ProgressSink.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace {
const QString kFolderTimeKey = u"import/folderTime"_s;
const QString kArchivesKey = u"import/archives"_s;

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

bool DiscImport::savedArchives()
{
    return settings().value(kArchivesKey, false).toBool();
}

void DiscImport::saveArchives(bool archives)
{
    settings().setValue(kArchivesKey, archives);
}

bool DiscImport::nameTaken(TdmQL &dm, const QString &name)
{
    return dm.catalogue().discNameTaken(name);
}

DiscImport::Result DiscImport::run(TdmQL &dm, TLCommFunction &commFunction, char letter, const QString &root,
                                   const QStringList &masks, const QString &name, ProgressSink &progress, ScanTime time,
                                   ScanSkipped *skipped, ArchiveScan *archives)
{
    RDriveInfo drive;
    GetDriveInfo(letter, drive);
    FileRowModel rows;
    const bool scanning = true;
    const ScanSkipped passedOver = ScanFiles(root, masks, rows, scanning, &progress, time, archives);
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
