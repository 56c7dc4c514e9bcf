#include "ImportRecordOf.h"

#include "drives/DriveInfo.h"
#include "drives/platform/Platform.h"
#include "store/DateText.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// The native path of a folder given in letter form, or the letter form where the drive has
// no native root.
QString nativePath(const QString &root)
{
    if (root.size() < 2 || root.at(1) != u':')
        return root;
    const QString base = Platform::instance().nativeRoot(root.at(0).toLatin1());
    if (base.isEmpty())
        return root;
    QString relative = root.mid(2);
    relative.replace(u'\\', u'/');
    return QDir::cleanPath(base + u'/' + relative);
}

// The volume a folder lies on and the folder's path below the volume's root.
void addVolume(const QString &root, ImportRecord &record)
{
    const std::optional<VolumeIdentity> volume = Platform::instance().volumeIdentity(root.at(0).toLatin1());
    if (!volume)
        return;
    record.volumeUuid = volume->uuid;
    record.volumeLabel = volume->label;
    QString relative = root.mid(3);
    relative.replace(u'\\', u'/');
    while (relative.endsWith(u'/'))
        relative.chop(1);
    record.volumePath = relative;
}

} // namespace

ImportRecord importRecordOf(const QString &category, const QStringList &masks, ImportRecord::Source source,
                            const QString &root, const RDriveInfo &drive, ScanTime time)
{
    ImportRecord record;
    record.importedAt = DateText::fromDateTime(QDateTime::currentDateTime());
    record.category = category;
    record.masks = masks;
    record.source = source;
    record.letter = root.isEmpty() ? QString() : root.left(1).toUpper();
    record.label = drive.DiskLabel;
    record.serial = drive.DiskSerial;
    if (source == ImportRecord::Source::Folder) {
        record.path = nativePath(root);
        if (root.size() >= 3)
            addVolume(root, record);
    }
    record.options.insert(u"fileTime"_s, time == ScanTime::Modified ? u"modified"_s : u"created"_s);
    return record;
}
