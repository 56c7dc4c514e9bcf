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
    if (source == ImportRecord::Source::Folder)
        record.path = nativePath(root);
    record.options.insert(u"fileTime"_s, time == ScanTime::Modified ? u"modified"_s : u"created"_s);
    return record;
}
