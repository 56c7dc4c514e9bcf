#include "CdromControl.h"

#include "drives/platform/formats/FileSectorReader.h"
#include "drives/platform/formats/UniqueFd.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>

namespace {
int openDrive(const QString &device)
{
    return ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

// The start of the last session, as the kernel's own ISO 9660 driver finds it.
quint32 lastSessionStart(int fd)
{
    cdrom_multisession session{};
    session.addr_format = CDROM_LBA;
    if (ioctl(fd, CDROMMULTISESSION, &session) != 0 || !session.xa_flag || session.addr.lba < 0)
        return 0;
    return quint32(session.addr.lba);
}

// 0, or the errno of a drive request. The kernel can answer a tray request with a
// positive number, the drive's SCSI status, when the drive refused it (a tray another
// program locked a moment before, or a drive still busy with a new medium): the tray did
// not move, so that counts as failure too.
int request(const QString &device, unsigned long command)
{
    const UniqueFd fd(openDrive(device));
    if (!fd.valid())
        return errno;
    const int result = ioctl(fd.get(), command, 0);
    return result == 0 ? 0 : result < 0 ? errno : EIO;
}

// Unlocks the tray with the drive's own PREVENT/ALLOW MEDIUM REMOVAL command. udev locks
// the tray of every drive that holds a disc (its cdrom_id, to hear the eject button), and
// the kernel's CDROMEJECT does not undo that lock on drives that do not report the lock
// capability (QEMU's among them): the eject is then refused. The command needs the drive
// opened for writing, which the cdrom group and the seat's user may; where it cannot be
// sent, the eject goes ahead as before.
void allowMediumRemoval(const QString &device)
{
    const UniqueFd fd(::open(QFile::encodeName(device).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return;
    unsigned char command[6] = {0x1e, 0, 0, 0, 0, 0}; // allow removal
    unsigned char sense[32] = {};
    sg_io_hdr_t io{};
    io.interface_id = 'S';
    io.dxfer_direction = SG_DXFER_NONE;
    io.cmd_len = sizeof(command);
    io.cmdp = command;
    io.mx_sb_len = sizeof(sense);
    io.sbp = sense;
    io.timeout = 5000; // milliseconds
    ioctl(fd.get(), SG_IO, &io);
}
} // namespace

DriveStatus CdromControl::queryStatus(const QString &device)
{
    const UniqueFd fd(openDrive(device));
    if (!fd.valid())
        return DriveStatus{errno, DriveStatus::NoInfo};
    const int code = ioctl(fd.get(), CDROM_DRIVE_STATUS, CDSL_CURRENT);
    if (code >= 0)
        return DriveStatus{0, code};
    if (errno != ENOSYS)
        return DriveStatus{errno, DriveStatus::NoInfo};
    // A drive that cannot tell its state: a disc is in when its first descriptor reads.
    FileSectorReader reader(openDrive(device), 0);
    return DriveStatus{0, reader.readSector(16) ? DriveStatus::DiscOk : DriveStatus::NoInfo};
}

int CdromControl::ejectTray(const QString &device)
{
    allowMediumRemoval(device);
    return request(device, CDROMEJECT);
}

int CdromControl::closeTrayDoor(const QString &device)
{
    return request(device, CDROMCLOSETRAY);
}

std::unique_ptr<SectorReader> CdromControl::openDisc(const QString &device)
{
    UniqueFd fd(openDrive(device));
    if (!fd.valid())
        return nullptr;
    const quint32 start = lastSessionStart(fd.get());
    return std::make_unique<FileSectorReader>(fd.release(), start);
}
