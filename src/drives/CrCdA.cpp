#include "CrCdA.h"

#include "DriveUtilities.h"
#include "drives/platform/formats/DriveTypes.h"

TCrCdA::TCrCdA(QObject *owner)
    : QObject(owner)
{
    FindCdDrives();
}

void TCrCdA::FindCdDrives()
{
    for (int code = 'c'; code <= 'z'; ++code) {
        RDriveInfo info;
        GetDriveInfo(char(code), info);
        if (info.DriveType == DriveTypes::CdRom)
            m_cdList.append(QString::number(code));
    }
    m_cdCount = int(m_cdList.size());
}
