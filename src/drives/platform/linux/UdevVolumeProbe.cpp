#include "UdevVolumeProbe.h"

#include "drives/platform/formats/VolumeRules.h"

#include <QFile>

#include <libudev.h>
#include <memory>
#include <sys/stat.h>

namespace {
struct UdevDeleter {
    void operator()(udev *u) const { udev_unref(u); }
    void operator()(udev_device *d) const { udev_device_unref(d); }
};

QString property(udev_device *device, const char *name)
{
    const char *value = udev_device_get_property_value(device, name);
    return value ? QString::fromUtf8(value) : QString();
}
} // namespace

std::optional<VolumeId> UdevVolumeProbe::probe(const MountEntry &mount)
{
    struct stat st {};
    if (stat(QFile::encodeName(mount.device).constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return std::nullopt;
    std::unique_ptr<udev, UdevDeleter> context(udev_new());
    if (!context)
        return std::nullopt;
    std::unique_ptr<udev_device, UdevDeleter> device(udev_device_new_from_devnum(context.get(), 'b', st.st_rdev));
    if (!device)
        return std::nullopt;
    VolumeId id;
    id.type = property(device.get(), "ID_FS_TYPE");
    if (id.type.isEmpty())
        return std::nullopt; // udev has not probed this device (no database here)
    id.version = property(device.get(), "ID_FS_VERSION");
    id.uuid = property(device.get(), "ID_FS_UUID");
    id.label = VolumeRules::decodeUdevText(udev_device_get_property_value(device.get(), "ID_FS_LABEL_ENC"));
    return id;
}
