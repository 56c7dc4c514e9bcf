#pragma once

#include "ScanFiles.h"
#include "store/ImportRecord.h"

#include <QString>
#include <QStringList>

struct RDriveInfo;

// The record of an import about to be stored: now, the category and its masks, the drive
// (its letter, label and serial) and, for a folder, the folder's own path, and the file
// time chosen. root is the scanned folder in letter form ("e:\" or "c:\music").
ImportRecord importRecordOf(const QString &category, const QStringList &masks, ImportRecord::Source source,
                            const QString &root, const RDriveInfo &drive, ScanTime time);
