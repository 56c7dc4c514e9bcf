#pragma once

#include <QString>
#include <functional>

class QObject;

// A snapshot of one drive: the same fields, in the same order, as the properties of
// TDiskCaps, so it can carry a complete copy of one. GetDriveInfo fills it.
struct RDriveInfo {
    using Notification = std::function<void(QObject *sender)>;

    QString DiskLabel;           // empty when there is no readable volume
    QString DiskSerial;          // 8 upper-case hex digits; "00000000" without a readable volume
    qint32 ComponentLen = 0;     // longest file-name component the file system allows
    QString FileSystem;          // empty when there is no readable volume
    qint32 DriveType = 0;        // one of DriveTypes
    char Drive = 0;              // the letter exactly as the caller gave it
    quint32 DriveFlags = 0;      // the file-system flag word
    Notification OnDriveChanged; // always empty in a record GetDriveInfo filled
    Notification OnSNChanged;    // always empty in a record GetDriveInfo filled
    bool CheckSNChange = false;
    qint32 CheckPeriod = 2000; // milliseconds
};
