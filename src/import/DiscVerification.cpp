#include "DiscVerification.h"

#include "ChecksumList.h"
#include "RowChecksums.h"
#include "ScanFiles.h"
#include "drives/DriveInfo.h"
#include "drives/DriveUtilities.h"
#include "drives/platform/NameMatcher.h"
#include "drives/platform/Platform.h"
#include "drives/platform/formats/DriveTypes.h"
#include "store/Catalogue.h"
#include "store/DateText.h"
#include "store/DmQL.h"
#include "store/FileChecksums.h"
#include "store/FileRowModel.h"
#include "store/ImportRecord.h"
#include "store/ProgressSink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

// A file as the catalogue and the disc both name it: its folder from the disc's root and its
// name.
QString keyOf(const QString &folder, const QString &name)
{
    return folder + u'\x1f' + name;
}

// What the verification works on: the catalogue's records and the disc's scan, each file once
// (a file listed under two masks is one file).
struct Comparison {
    QList<FileRecord> catalogued;
    QHash<QString, QByteArray> storedDigests; // by key; only the files read when imported
    FileRowModel scanned;
    QHash<QString, int> scannedAt; // key → row of scanned
    QHash<QString, int> byPath;    // path below the drive's root → row of scanned
};

void readCatalogue(TdmQL &dm, qint64 disc, Comparison &c)
{
    QSet<QString> seen; // and the files inside archives, which are not compared
    for (const auto &[folder, name] : DiscVerificationStore::archiveMembers(dm.aConQl.connectionName(), disc))
        seen.insert(keyOf(folder, name));
    const std::vector<qint64> keys = dm.catalogue().fileKeysOfDisc(disc);
    std::vector<std::optional<FileRecord>> records(keys.size());
    dm.catalogue().readFiles(keys, [&](size_t i, const FileRecord &file) { records[i] = file; });
    for (const std::optional<FileRecord> &file : records)
        if (file && !seen.contains(keyOf(file->folder, file->name))) {
            seen.insert(keyOf(file->folder, file->name));
            c.catalogued.append(*file);
        }
    for (const FileChecksums::Entry &entry : FileChecksums::ofDisc(dm.aConQl.connectionName(), disc))
        if (!entry.digest.isEmpty())
            c.storedDigests.insert(keyOf(entry.folder, entry.name), entry.digest);
}

bool scanDisc(const DiscVerification::Source &source, ScanTime time, ProgressSink &progress, Comparison &c)
{
    FileRowModel all;
    const bool scanning = true;
    ScanFiles(source.root, {u"*"_s}, all, scanning, &progress, time);
    if (progress.StopRequested())
        return false;
    std::vector<FileRow> once;
    for (int i = 0; i < all.rowCount(); ++i) {
        const FileRow &row = all.row(i);
        const QString key = keyOf(row.sub[3], row.caption);
        if (c.scannedAt.contains(key))
            continue;
        c.scannedAt.insert(key, int(once.size()));
        c.byPath.insert(RowChecksums::relativePath(row), int(once.size()));
        once.push_back(row);
    }
    c.scanned.appendRows(std::move(once));
    return true;
}

VerifiedFile listed(VerifiedFile::Kind kind, const FileRecord &file, const QString &detail = {})
{
    return {kind, file.name, file.size, file.date, file.folder, detail};
}

VerifiedFile listed(VerifiedFile::Kind kind, const FileRow &row, const QString &detail = {})
{
    return {kind, row.caption, row.sub[0], row.sub[1], row.sub[3], detail};
}

// How a present file differs from its record by size and date; empty when it does not.
QString sizeOrDate(const FileRecord &file, const FileRow &row)
{
    QStringList parts;
    if (file.size != row.sub[0])
        parts.append(QCoreApplication::translate("DiscVerification", "大小 %1 → %2").arg(file.size, row.sub[0]));
    if (file.date != row.sub[1])
        parts.append(QCoreApplication::translate("DiscVerification", "时间 %1 → %2").arg(file.date, row.sub[1]));
    return parts.join(QCoreApplication::translate("DiscVerification", "，"));
}

class Verifier {
public:
    Verifier(TdmQL &dm, qint64 disc, const DiscVerification::Source &source, ProgressSink &progress,
             DigestLimits limits)
        : m_dm(dm), m_disc(disc), m_source(source), m_progress(progress), m_limits(limits)
    {
    }

    std::optional<DiscVerification::Outcome> run()
    {
        QElapsedTimer clock;
        clock.start();
        const std::optional<ImportRecord> record = ImportRecordStore::read(m_dm.aConQl.connectionName(), m_disc);
        const ScanTime time = record && record->options.value(u"fileTime"_s).toString() == u"modified"_s
                                  ? ScanTime::Modified
                                  : ScanTime::Created;
        readCatalogue(m_dm, m_disc, m_c);
        if (!scanDisc(m_source, time, m_progress, m_c) || !compareCatalogued())
            return std::nullopt;
        if (record)
            listNew(record->masks);
        if (!checkLists())
            return std::nullopt;
        m_outcome.counts.verifiedAt = DateText::fromDateTime(QDateTime::currentDateTime());
        m_outcome.counts.seconds = double(clock.elapsed()) / 1000.0;
        return m_outcome;
    }

private:
    std::optional<RowChecksums::Reading> read(const QStringList &paths, DigestKind kind)
    {
        std::optional<RowChecksums::Reading> reading = RowChecksums::read(
            m_source.letter, paths, kind, [this](const QString &text) { m_progress.SetStatusText(text); },
            [this] { return m_progress.StopRequested(); }, m_limits);
        if (reading)
            m_outcome.counts.bytes += reading->bytes;
        return reading;
    }

    bool compareCatalogued()
    {
        QStringList paths;
        QList<int> present; // index into catalogued of each path
        for (int i = 0; i < m_c.catalogued.size(); ++i) {
            const FileRecord &file = m_c.catalogued.at(i);
            const int row = m_c.scannedAt.value(keyOf(file.folder, file.name), -1);
            if (row < 0) {
                add(listed(VerifiedFile::Kind::Missing, file));
                continue;
            }
            paths.append(RowChecksums::relativePath(m_c.scanned.row(row)));
            present.append(i);
        }
        const std::optional<RowChecksums::Reading> reading = read(paths, DigestKind::Sha256);
        if (!reading)
            return false;
        for (int k = 0; k < present.size(); ++k) {
            const FileRecord &file = m_c.catalogued.at(present.at(k));
            const FileRow &row = m_c.scanned.row(m_c.scannedAt.value(keyOf(file.folder, file.name)));
            const QByteArray &digest = reading->results.at(k);
            m_sha256.insert(paths.at(k), digest);
            compareOne(file, row, digest);
        }
        return true;
    }

    void compareOne(const FileRecord &file, const FileRow &row, const QByteArray &digest)
    {
        if (digest.isEmpty()) {
            add(listed(VerifiedFile::Kind::Unreadable, row, QCoreApplication::translate("DiscVerification", "读取出错")));
            return;
        }
        QString differs = sizeOrDate(file, row);
        const QByteArray stored = m_c.storedDigests.value(keyOf(file.folder, file.name));
        if (!stored.isEmpty() && stored != digest)
            differs += (differs.isEmpty() ? QString() : QCoreApplication::translate("DiscVerification", "，")) + QCoreApplication::translate("DiscVerification", "内容不同（校验值）");
        if (differs.isEmpty())
            ++m_outcome.counts.same;
        else
            add(listed(VerifiedFile::Kind::Changed, row, differs));
    }

    void listNew(const QStringList &masks)
    {
        QList<NameMatcher> matchers;
        for (const QString &mask : masks)
            matchers.append(NameMatcher(mask));
        QSet<QString> catalogued;
        for (const FileRecord &file : std::as_const(m_c.catalogued))
            catalogued.insert(keyOf(file.folder, file.name));
        for (int i = 0; i < m_c.scanned.rowCount(); ++i) {
            const FileRow &row = m_c.scanned.row(i);
            if (catalogued.contains(keyOf(row.sub[3], row.caption)))
                continue;
            if (std::any_of(matchers.cbegin(), matchers.cend(), [&](const NameMatcher &m) { return m.matches(row.caption); }))
                add(listed(VerifiedFile::Kind::New, row));
        }
    }

    // The lists on the disc, each read and its files checked.
    bool checkLists()
    {
        QStringList listPaths;
        QList<DigestKind> kinds;
        for (int i = 0; i < m_c.scanned.rowCount(); ++i)
            if (const auto kind = ChecksumList::kindOf(m_c.scanned.row(i).caption)) {
                listPaths.append(RowChecksums::relativePath(m_c.scanned.row(i)));
                kinds.append(*kind);
            }
        if (listPaths.isEmpty())
            return true;
        const std::optional<RowChecksums::Reading> texts = read(listPaths, DigestKind::Content);
        if (!texts)
            return false;
        for (int i = 0; i < listPaths.size(); ++i)
            if (!checkList(listPaths.at(i), ChecksumList::parse(kinds.at(i), texts->results.at(i))))
                return false;
        return true;
    }

    bool checkList(const QString &listPath, const ChecksumList &list)
    {
        const QString listName = listPath.section(u'/', -1);
        const QString base = listPath.left(listPath.size() - listName.size());
        const FileRow &listRow = m_c.scanned.row(m_c.byPath.value(listPath));
        if (list.badLines > 0)
            add(listed(VerifiedFile::Kind::ListMismatch, listRow, QCoreApplication::translate("DiscVerification", "%1行无法读懂").arg(list.badLines)));
        QStringList toRead;
        QList<const ChecksumList::Entry *> waiting;
        for (const ChecksumList::Entry &entry : list.entries) {
            const QString path = base + entry.path;
            const int row = m_c.byPath.value(path, -1);
            if (row < 0) {
                FileRecord named{m_disc, entry.path.section(u'/', -1), {}, {}, {}};
                named.folder = u'\\' + QString(base + entry.path.left(entry.path.size() - named.name.size())).replace(u'/', u'\\');
                add(listed(VerifiedFile::Kind::ListMismatch, named, QCoreApplication::translate("DiscVerification", "%1 列出的文件不在光盘上").arg(listName)));
            } else if (list.kind == DigestKind::Sha256 && m_sha256.contains(path)) {
                compareWithList(m_c.scanned.row(row), m_sha256.value(path), entry.digest, listName);
            } else {
                toRead.append(path);
                waiting.append(&entry);
            }
        }
        if (toRead.isEmpty())
            return true;
        const std::optional<RowChecksums::Reading> digests = read(toRead, list.kind);
        if (!digests)
            return false;
        for (int k = 0; k < toRead.size(); ++k)
            compareWithList(m_c.scanned.row(m_c.byPath.value(toRead.at(k))), digests->results.at(k),
                            waiting.at(k)->digest, listName);
        return true;
    }

    void compareWithList(const FileRow &row, const QByteArray &digest, const QByteArray &expected,
                         const QString &listName)
    {
        if (digest.isEmpty())
            add(listed(VerifiedFile::Kind::ListMismatch, row, QCoreApplication::translate("DiscVerification", "无法读取，不能按 %1 核对").arg(listName)));
        else if (digest != expected)
            add(listed(VerifiedFile::Kind::ListMismatch, row, QCoreApplication::translate("DiscVerification", "与 %1 中的校验值不符").arg(listName)));
    }

    void add(VerifiedFile file)
    {
        Verification &n = m_outcome.counts;
        switch (file.kind) {
        case VerifiedFile::Kind::Changed:
            ++n.changed;
            break;
        case VerifiedFile::Kind::Missing:
            ++n.missing;
            break;
        case VerifiedFile::Kind::New:
            ++n.added;
            break;
        case VerifiedFile::Kind::Unreadable:
            ++n.unreadable;
            break;
        case VerifiedFile::Kind::ListMismatch:
            ++n.listMismatches;
            break;
        }
        m_outcome.files.append(std::move(file));
    }

    TdmQL &m_dm;
    qint64 m_disc;
    DiscVerification::Source m_source;
    ProgressSink &m_progress;
    DigestLimits m_limits;
    Comparison m_c;
    QHash<QString, QByteArray> m_sha256; // of the files read, by path below the drive's root
    DiscVerification::Outcome m_outcome;
};

} // namespace

QString VerifiedFile::kindText(Kind kind)
{
    switch (kind) {
    case Kind::Changed:
        return QCoreApplication::translate("DiscVerification", "已改变");
    case Kind::Missing:
        return QCoreApplication::translate("DiscVerification", "缺少");
    case Kind::New:
        return QCoreApplication::translate("DiscVerification", "新文件");
    case Kind::Unreadable:
        return QCoreApplication::translate("DiscVerification", "无法读取");
    case Kind::ListMismatch:
        return QCoreApplication::translate("DiscVerification", "与校验清单不符");
    }
    return {};
}

QString VerifiedFile::kindKey(Kind kind)
{
    switch (kind) {
    case Kind::Changed:
        return u"changed"_s;
    case Kind::Missing:
        return u"missing"_s;
    case Kind::New:
        return u"new"_s;
    case Kind::Unreadable:
        return u"unreadable"_s;
    case Kind::ListMismatch:
        return u"list"_s;
    }
    return {};
}

std::optional<DiscVerification::Source> DiscVerification::locate(TdmQL &dm, qint64 disc)
{
    const std::optional<DiscRecord> record = dm.catalogue().disc(disc);
    if (!record)
        return std::nullopt;
    Platform &platform = Platform::instance();
    if (!record->serial.isEmpty() && record->serial != u"00000000"_s)
        for (const char letter : platform.letters()) {
            if (platform.driveType(letter) != DriveTypes::CdRom)
                continue;
            RDriveInfo drive;
            GetDriveInfo(letter, drive);
            if (drive.DiskSerial == record->serial && drive.DiskLabel == record->label)
                return DriveRoot::ofDrive(letter);
        }
    const std::optional<ImportRecord> imported = ImportRecordStore::read(dm.aConQl.connectionName(), disc);
    if (imported && imported->source == ImportRecord::Source::Folder && !imported->path.isEmpty())
        return DriveRoot::ofFolder(imported->path);
    return std::nullopt;
}

std::optional<DiscVerification::Outcome> DiscVerification::run(TdmQL &dm, qint64 disc, const Source &source,
                                                                ProgressSink &progress, DigestLimits limits)
{
    return Verifier(dm, disc, source, progress, limits).run();
}

QString DiscVerification::summary(const Verification &n)
{
    QString text = QCoreApplication::translate("DiscVerification", "相同 %1，已改变 %2，缺少 %3，新文件 %4，无法读取 %5")
                       .arg(n.same)
                       .arg(n.changed)
                       .arg(n.missing)
                       .arg(n.added)
                       .arg(n.unreadable);
    if (n.listMismatches > 0)
        text += QCoreApplication::translate("DiscVerification", "，与校验清单不符 %1").arg(n.listMismatches);
    return text + QCoreApplication::translate("DiscVerification", "；读了 %1 MB，%2 秒，%3 MB/s")
                      .arg(double(n.bytes) / (1024.0 * 1024.0), 0, 'f', 1)
                      .arg(n.seconds, 0, 'f', 1)
                      .arg(n.megabytesPerSecond(), 0, 'f', 1);
}

QString DiscVerification::dueCutoff(int months)
{
    return DateText::fromDateTime(QDateTime::currentDateTime().addMonths(-months));
}

QString DiscVerification::stateKey(Verification::State state)
{
    switch (state) {
    case Verification::State::Unreadable:
        return u"unreadable"_s;
    case Verification::State::Differences:
        return u"differences"_s;
    case Verification::State::Whole:
        break;
    }
    return u"whole"_s;
}
