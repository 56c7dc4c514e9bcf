// libFuzzer target for the archive lister: the input is an archive. It is listed as the
// probe lists it (libarchive's callbacks over the bytes, archives within it down to three
// levels), each member sent through the probe's records and read back as the program
// reads them, and its name made into the path column's folder and name. A member that
// comes back other than it went, or a folder that climbs out of its archive, aborts.
#include "drives/platform/formats/ArchiveLister.h"
#include "import/ArchiveProbe.h"

#include <chrono>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    MemoryByteSource source(std::string(reinterpret_cast<const char *>(data), size));
    ArchiveLimits limits;
    limits.maxMembers = 20000;
    limits.maxBytes = 64 << 20;
    limits.maxTime = std::chrono::seconds(5);
    limits.nestedBuffer = 8 << 20;
    ArchiveProtocol::Reader reader;
    listArchive(source, limits, [&](const Member &member) {
        reader.append(ArchiveProtocol::encode(member));
        const std::optional<Member> back = reader.member();
        if (!back || back->path != member.path || back->size != member.size || back->time != member.time)
            std::abort();
        const ArchiveMember row = memberFromPath(QByteArrayView(member.path.data(), qsizetype(member.path.size())),
                                                 QStringLiteral("fuzz.zip"));
        for (const QString &segment : row.folder.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
            if (segment == QLatin1String("..") || segment == QLatin1String("."))
                std::abort();
        if (row.name.isEmpty() || row.name.contains(QLatin1Char('\\')) || row.name.contains(QLatin1Char('/')))
            std::abort();
    });
    return 0;
}
