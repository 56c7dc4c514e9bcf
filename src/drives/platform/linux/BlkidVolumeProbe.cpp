#include "BlkidVolumeProbe.h"

#include <QFile>

#include <blkid/blkid.h>
#include <memory>
#include <sys/stat.h>

namespace {
struct ProbeDeleter {
    void operator()(blkid_struct_probe *probe) const { blkid_free_probe(probe); }
};

QString value(blkid_probe probe, const char *name)
{
    const char *data = nullptr;
    if (blkid_probe_lookup_value(probe, name, &data, nullptr) != 0 || !data)
        return {};
    return QString::fromUtf8(data);
}
} // namespace

std::optional<VolumeId> BlkidVolumeProbe::probe(const MountEntry &mount)
{
    return probeFile(mount.device);
}

std::optional<VolumeId> BlkidVolumeProbe::probeFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (stat(name.constData(), &st) != 0 || !(S_ISBLK(st.st_mode) || S_ISREG(st.st_mode)))
        return std::nullopt;
    std::unique_ptr<blkid_struct_probe, ProbeDeleter> probe(blkid_new_probe_from_filename(name.constData()));
    if (!probe)
        return std::nullopt;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE |
                                                       BLKID_SUBLKS_VERSION);
    if (blkid_do_safeprobe(probe.get()) != 0)
        return std::nullopt;
    VolumeId id;
    id.type = value(probe.get(), "TYPE");
    if (id.type.isEmpty())
        return std::nullopt;
    id.version = value(probe.get(), "VERSION");
    id.uuid = value(probe.get(), "UUID");
    id.label = value(probe.get(), "LABEL");
    return id;
}
