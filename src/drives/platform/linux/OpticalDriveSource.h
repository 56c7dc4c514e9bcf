#pragma once

#include "OpticalDevice.h"

#include <QList>

// The optical drives of the machine, in the order they take their letters from d on.
class OpticalDriveSource {
public:
    virtual ~OpticalDriveSource() = default;
    virtual QList<OpticalDevice> drives() = 0;

    // Sorts drives by path, numbers in it compared by value (ata-2 before ata-10), then
    // by kernel name.
    static void sortByPath(QList<OpticalDevice> &drives);
};
