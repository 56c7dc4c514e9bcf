#pragma once

#include "MountService.h"
#include "UdisksClient.h"

#include <QString>

// Finds mounts in the kernel's mount table; mounts and unmounts through udisks2.
class SystemMountService : public MountService {
public:
    explicit SystemMountService(QString mountInfoPath = QStringLiteral("/proc/self/mountinfo"),
                                UdisksClient udisks = UdisksClient());

    std::optional<MountEntry> mountOf(quint64 deviceNumber) override;
    std::optional<MountEntry> mount(const QString &device, quint64 deviceNumber) override;
    bool unmount(const QString &device) override;

private:
    QString m_mountInfoPath;
    UdisksClient m_udisks;
};
