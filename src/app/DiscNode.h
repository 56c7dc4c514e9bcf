#pragma once

#include <QMetaType>
#include <QString>

// What a disc node of the tree carries, copied from the disc record when the node is made.
struct TDiscNode {
    qint32 DiskCode = 0;
    QString DiskName;
    QString DiskLabel;
    QString DiskSerial;
};
Q_DECLARE_METATYPE(TDiscNode)
