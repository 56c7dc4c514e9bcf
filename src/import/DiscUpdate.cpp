#include "DiscUpdate.h"

#include "ArchiveProbe.h"
#include "drives/DriveInfo.h"
#include "drives/DriveUtilities.h"
#include "drives/platform/Platform.h"
#include "store/Catalogue.h"
#include "store/DmQL.h"
#include "store/FileChecksums.h"
#include "store/ProgressSink.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

QString letterRoot(char letter, const QString &relativePath)
{
    QString below = relativePath;
    below.replace(u'/', u'\\');
    return QString(QChar(char16_t(letter))) + u":\\"_s + below;
}

std::optional<DiscUpdate::Source> folderOnVolume(const ImportRecord &record)
{
    Platform &platform = Platform::instance();
    for (const char letter : platform.letters()) {
        const std::optional<VolumeIdentity> volume = platform.volumeIdentity(letter);
        if (volume && volume->uuid == record.volumeUuid && platform.listDirectory(letter, record.volumePath))
            return DiscUpdate::Source{letter, letterRoot(letter, record.volumePath)};
    }
    return std::nullopt;
}

std::optional<DiscUpdate::Source> folderAtPath(const ImportRecord &record)
{
    if (record.path.isEmpty() || !QFileInfo(record.path).isDir())
        return std::nullopt;
    const std::optional<DriveLocation> where = Platform::instance().locate(record.path);
    if (!where)
        return std::nullopt;
    return DiscUpdate::Source{where->letter, letterRoot(where->letter, where->relativePath)};
}

bool holdsDisc(char letter, const ImportRecord &record)
{
    RDriveInfo drive;
    GetDriveInfo(letter, drive);
    return !drive.FileSystem.isEmpty() && drive.DiskLabel == record.label && drive.DiskSerial == record.serial;
}

// The recorded drive first: the disc is most likely where it was.
std::optional<DiscUpdate::Source> discInDrive(const ImportRecord &record)
{
    QList<char> letters = Platform::instance().letters();
    const char recorded = record.letter.isEmpty() ? 0 : Platform::driveLetter(record.letter.at(0).toLatin1());
    if (letters.removeOne(recorded))
        letters.prepend(recorded);
    for (const char letter : std::as_const(letters))
        if (holdsDisc(letter, record))
            return DiscUpdate::Source{letter, letterRoot(letter, QString())};
    return std::nullopt;
}

} // namespace

DiscUpdate::DiscUpdate(TdmQL &dm, qint64 discCode)
    : m_dm(dm)
    , m_disc(discCode)
{
}

std::optional<DiscUpdate::Source> DiscUpdate::findSource(const ImportRecord &record)
{
    if (record.source != ImportRecord::Source::Folder)
        return discInDrive(record);
    return record.volumeUuid.isEmpty() ? folderAtPath(record) : folderOnVolume(record);
}

QString DiscUpdate::sourceText(const ImportRecord &record)
{
    if (record.source == ImportRecord::Source::Folder)
        return record.volumeLabel.isEmpty()
                   ? record.path
                   : QCoreApplication::translate("DiscUpdate", "%1（卷“%2”）").arg(record.path, record.volumeLabel);
    return QCoreApplication::translate("DiscUpdate", "卷标“%1”，序列号 %2").arg(record.label, record.serial);
}

DiscUpdate::Result DiscUpdate::prepare(ProgressSink &progress)
{
    const QString connection = m_dm.aConQl.connectionName();
    m_record = ImportRecordStore::read(connection, m_disc);
    if (!m_record)
        return Result::NoRecord;
    const std::optional<Source> source = findSource(*m_record);
    if (!source)
        return Result::NoSource;
    const ScanTime time =
        m_record->options.value(u"fileTime"_s).toString() == u"modified"_s ? ScanTime::Modified : ScanTime::Created;
    const bool scanning = true;
    // A disc imported with the files inside its archives is scanned with them again.
    std::optional<ArchiveProbe> probe;
    std::optional<ArchiveScan> archives;
    if (m_record->options.value(u"archives"_s).toBool())
        archives.emplace(probe.emplace());
    m_skipped = ScanFiles(source->root, m_record->masks, m_rows, scanning, &progress, time,
                          archives ? &*archives : nullptr);
    if (progress.StopRequested())
        return Result::Stopped;
    m_checksums.wanted = m_record->options.value(u"checksums"_s).toBool();
    if (m_checksums.wanted) {
        m_digests = RowChecksums::compute(
            source->letter, m_rows, [&](const QString &text) { progress.SetStatusText(text); },
            [&] { return progress.StopRequested(); }, m_checksums);
        if (!m_digests)
            return Result::Stopped;
    }
    m_difference = DiscDifference::between(DiscFileEdits::filesOf(connection, m_disc), m_rows,
                                           m_digests ? &*m_digests : nullptr);
    return Result::Ready;
}

bool DiscUpdate::apply(ProgressSink &progress)
{
    const QString connection = m_dm.aConQl.connectionName();
    const auto total = m_difference.removed.size() + m_difference.changed.size() + m_difference.added.size();
    progress.SetProgressRange(int(total), 0);
    TQuery &insert = *m_dm.aqryTempFind;
    const auto closing = qScopeGuard([&] {
        insert.Close();
        insert.Params().clear();
        progress.SetProgressRange(0, 0);
    });
    qint64 done = 0;
    const auto step = [&] {
        if (++done % 100 == 0)
            progress.ReportProgress(QCoreApplication::translate("DiscUpdate", "正在更新第%1条记录").arg(done), int(done));
        return !progress.StopRequested();
    };
    Transaction transaction(m_dm.aConQl);
    std::optional<FileChecksums> checksums;
    if (m_digests)
        checksums.emplace(connection);
    for (const StoredFile &file : std::as_const(m_difference.removed))
        if (DiscFileEdits::remove(connection, file.row); !step())
            return false;
    for (const DiscDifference::Change &change : std::as_const(m_difference.changed)) {
        const FileRecord now = scannedRecord(change.scanRow);
        DiscFileEdits::change(connection, change.stored.row, now.size, now.date);
        if (checksums)
            checksums->store(change.stored.row, m_digests->at(change.scanRow));
        else
            DiscFileEdits::forgetChecksum(connection, change.stored.row);
        if (!step())
            return false;
    }
    Catalogue &catalogue = m_dm.catalogue();
    for (const int row : std::as_const(m_difference.added)) {
        const qint64 file = catalogue.insertFile(scannedRecord(row));
        if (checksums)
            checksums->store(file, m_digests->at(row));
        if (m_rows.row(row).archiveMember)
            catalogue.markArchiveMember(file);
        if (!step())
            return false;
    }
    transaction.commit();
    return true;
}
