// quillon-drivecheck: shows what the drive backend makes of this machine's drives, for
// checking a real drive by hand (README, "Checking a real drive by hand").
//   quillon-drivecheck              every drive: type, readiness, label, serial, file system
//   quillon-drivecheck --eject E    open E's tray, --close E closes it
//   quillon-drivecheck --watch      print media events until Ctrl-C
#include "drives/DriveUtilities.h"
#include "drives/platform/Platform.h"
#include "drives/platform/formats/DriveTypes.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {
QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QString typeName(qint32 type)
{
    static const QStringList names{u"unknown"_s, u"none"_s,   u"removable"_s, u"fixed"_s,
                                   u"remote"_s,  u"CD-ROM"_s, u"RAM disk"_s};
    return names.value(type, QString::number(type));
}

QString letters(quint32 mask)
{
    QStringList result;
    for (int bit = 0; bit < 26; ++bit) {
        if (mask & (1u << bit))
            result.append(QChar(u'A' + bit) + u":"_s);
    }
    return result.join(u' ');
}

void listDrives()
{
    Platform &platform = Platform::instance();
    for (char letter : platform.letters()) {
        RDriveInfo info;
        GetDriveInfo(letter, info);
        out() << QChar::fromLatin1(letter).toUpper() << u":  "_s << typeName(info.DriveType).leftJustified(9)
              << (IsDriveReady(letter) ? u" ready     "_s : u" not ready "_s) << u" serial "_s << info.DiskSerial
              << u"  "_s << info.FileSystem.leftJustified(6) << u" flags "_s
              << QString::number(info.DriveFlags, 16).rightJustified(8, u'0') << u" max "_s << info.ComponentLen
              << u"  label \""_s << info.DiskLabel << u"\"  root "_s << platform.nativeRoot(letter) << Qt::endl;
    }
}

int tray(const QString &drive, bool open)
{
    const bool moved = open ? OpenCdDoor(drive) : CloseCdDoor(drive);
    out() << (open ? u"eject "_s : u"close "_s) << drive << (moved ? u" done"_s : u" failed"_s) << Qt::endl;
    return moved ? 0 : 1;
}

int watch(QCoreApplication &app)
{
    QObject::connect(&Platform::instance(), &Platform::mediaEvent, &app, [](const MediaEvent &event) {
        const QString kind = event.event == MediaEvent::Kind::Arrival          ? u"arrival"_s
                             : event.event == MediaEvent::Kind::RemoveComplete ? u"remove-complete"_s
                                                                               : u"other"_s;
        out() << kind << u"  "_s << letters(event.unitMask) << Qt::endl;
        listDrives();
    });
    listDrives();
    out() << u"Watching for media events; Ctrl-C ends."_s << Qt::endl;
    return app.exec();
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == u"--watch"_s)
        return watch(app);
    if ((args.value(0) == u"--eject"_s || args.value(0) == u"--close"_s) && args.size() == 2)
        return tray(args[1].toUpper().left(1) + u":"_s, args[0] == u"--eject"_s);
    if (!args.isEmpty()) {
        out() << u"usage: quillon-drivecheck [--watch | --eject LETTER | --close LETTER]"_s << Qt::endl;
        return 2;
    }
    listDrives();
    return 0;
}
