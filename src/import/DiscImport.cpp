#include "DiscImport.h"

#include "CatalogueWriter.h"
#include "ImportRecordOf.h"
#include "RowChecksums.h"
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
const QString kChecksumsKey = u"import/checksums"_s;
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

bool DiscImport::savedChecksums()
{
    return settings().value(kChecksumsKey, false).toBool();
}

void DiscImport::saveChecksums(bool on)
{
    settings().setValue(kChecksumsKey, on);
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
                                   const QStringList &masks, const QString &name, ProgressSink &progress, const Options &options)
{
    RDriveInfo drive;
    GetDriveInfo(letter, drive);
    FileRowModel rows;
    const bool scanning = true;
    const ScanSkipped passedOver = ScanFiles(root, masks, rows, scanning, &progress, options.time, options.archives);
    if (options.skipped)
        *options.skipped = passedOver;
    if (progress.StopRequested())
        return Result::NotStored;
    if (rows.rowCount() == 0)
        return Result::NoFiles;
    if (nameTaken(dm, name))
        return Result::NameTaken;
    std::optional<QList<QByteArray>> digests;
    ImportChecksums *checksums = options.checksums;
    if (checksums && checksums->wanted) {
        digests = RowChecksums::compute(
            letter, rows, [&](const QString &text) { progress.SetStatusText(text); },
            [&] { return progress.StopRequested(); }, *checksums);
        if (!digests)
            return Result::NotStored;
    }
    ImportRecord record = importRecordOf(options.category, masks, options.source, root, drive, options.time);
    record.options.insert(u"checksums"_s, checksums && checksums->wanted);
    record.options.insert(u"archives"_s, options.archives != nullptr);
    const auto code = CatalogueWriter::StoreDisc(dm, commFunction, {name, drive.DiskLabel, drive.DiskSerial, record},
                                                 rows, progress, digests ? &*digests : nullptr);
    return code ? Result::Stored : Result::NotStored;
}
