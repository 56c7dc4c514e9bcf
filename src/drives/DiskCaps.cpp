#include "DiskCaps.h"

#include "DriveUtilities.h"
#include "drives/platform/formats/DriveTypes.h"

#include <QTimer>

using namespace Qt::StringLiterals;

TDiskCaps::TDiskCaps(QObject *owner)
    : QObject(owner)
{
    Refresh();
}

TDiskCaps::~TDiskCaps()
{
    stopCheckTimer();
}

void TDiskCaps::Refresh()
{
    RDriveInfo info;
    GetDriveInfo(m_drive, info);
    m_diskLabel = info.DiskLabel;
    m_diskSerial = info.DiskSerial;
    m_componentLen = info.ComponentLen;
    m_fileSystem = info.FileSystem;
    m_driveType = info.DriveType;
    m_driveFlags = info.DriveFlags;
}

void TDiskCaps::setDrive(char value)
{
    if (value == m_drive)
        return;
    m_drive = value;
    Refresh();
    setCheckSNChange(false);
    emit OnDriveChanged(this);
}

void TDiskCaps::setCheckSNChange(bool value)
{
    if (value == m_checkSNChange)
        return;
    m_checkSNChange = value;
    Refresh();
    if (!value) {
        stopCheckTimer();
        return;
    }
    if (m_checkPeriod > 0 && (m_driveType == DriveTypes::Removable || m_driveType == DriveTypes::CdRom)) {
        m_lastSerial = m_diskSerial;
        startCheckTimer(m_checkPeriod);
    } else {
        m_checkSNChange = false;
    }
}

void TDiskCaps::setCheckPeriod(qint32 value)
{
    if (value == m_checkPeriod)
        return;
    stopCheckTimer();
    if (m_checkSNChange && value > 0)
        startCheckTimer(value);
    m_checkPeriod = value;
}

void TDiskCaps::CheckSerial()
{
    Refresh();
    if (m_diskSerial != m_lastSerial) {
        m_lastSerial = m_diskSerial;
        emit OnSNChanged(this);
    }
}

void TDiskCaps::startCheckTimer(qint32 period)
{
    m_checkTimer = new QTimer(this);
    m_checkTimer->setObjectName(u"CheckTimer"_s);
    connect(m_checkTimer, &QTimer::timeout, this, &TDiskCaps::CheckSerial);
    m_checkTimer->start(period);
}

void TDiskCaps::stopCheckTimer()
{
    delete m_checkTimer;
    m_checkTimer = nullptr;
}
