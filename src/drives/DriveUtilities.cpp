#include "DriveUtilities.h"

#include "ConvertError.h"
#include "drives/platform/Platform.h"
#include "drives/platform/formats/DriveTypes.h"

#include <QScopeGuard>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {
const QString kNoSerial = u"00000000"_s;

QString upToNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

void forgetVolume(RDriveInfo &info)
{
    info.DiskLabel.clear();
    info.FileSystem.clear();
    info.DiskSerial = kNoSerial;
}

// The letter of a drive named "E:" (or "E", "E:\"); 0 for any other text.
char trayLetter(const QString &drive)
{
    static const QStringList suffixes{u""_s, u":"_s, u":\\"_s, u":/"_s};
    if (drive.isEmpty() || drive[0].unicode() > 0x7f || !suffixes.contains(drive.mid(1)))
        return 0;
    return Platform::driveLetter(char(drive[0].unicode()));
}

// The drives whose tray command is still waiting for the system. Events run meanwhile,
// so the user can ask again; a second command for the same drive fails at once.
QSet<char> &pendingTrays()
{
    static QSet<char> pending;
    return pending;
}

bool trayCommand(const QString &drive, bool open)
{
    const char letter = trayLetter(drive);
    if (!letter || pendingTrays().contains(letter))
        return false;
    pendingTrays().insert(letter);
    const auto done = qScopeGuard([letter] { pendingTrays().remove(letter); });
    try {
        Platform &platform = Platform::instance();
        return open ? platform.openTray(letter) : platform.closeTray(letter);
    } catch (...) {
        return false;
    }
}
} // namespace

void GetDriveInfo(char Drive, RDriveInfo &Info)
{
    Platform &platform = Platform::instance();
    const VolumeInfo volume = platform.volumeInformation(Drive).value_or(VolumeInfo{});
    Info.DiskLabel = upToNul(volume.label);
    Info.DiskSerial = QString::number(volume.serial, 16).rightJustified(8, u'0').toUpper();
    Info.ComponentLen = volume.maxComponentLength;
    Info.FileSystem = upToNul(volume.fileSystem);
    Info.DriveType = platform.driveType(Drive);
    Info.DriveFlags = volume.flags;
    if (Info.DiskSerial == kNoSerial || Info.FileSystem.isEmpty())
        forgetVolume(Info);
    if (Info.DriveType == DriveTypes::CdRom && !IsDriveReady(Drive)) {
        forgetVolume(Info);
        Info.ComponentLen = 0;
        Info.DriveFlags = 0;
    }
    Info.Drive = Drive;
    Info.OnDriveChanged = nullptr;
    Info.OnSNChanged = nullptr;
    Info.CheckSNChange = false;
    Info.CheckPeriod = 2000;
}

bool IsDriveReady(char Drive)
{
    const char letter = Drive >= 'a' && Drive <= 'z' ? char(Drive - 'a' + 'A') : Drive;
    if (letter < 'A' || letter > 'Z')
        throw ConvertError(u"not a valid drive?"_s);
    // Nothing here asks the user for a disk, so there is no error mode to set.
    return Platform::instance().volumeSize(letter).has_value();
}

bool OpenCdDoor(const QString &Drive)
{
    return trayCommand(Drive, true);
}

bool CloseCdDoor(const QString &Drive)
{
    return trayCommand(Drive, false);
}
