#include "ArchiveLister.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using ArchiveProtocol::Status;

constexpr size_t kBlock = 64 * 1024;

// What the listing of one archive (with the archives in it) has used so far.
struct Budget {
    const ArchiveLimits &limits;
    Clock::time_point deadline;
    uint64_t members = 0;
    uint64_t bytes = 0;
    bool timeUp() const { return Clock::now() > deadline; }
};

// libarchive's callbacks over a file's content: reads at a position it can move.
struct SourceReader {
    FileContent &source;
    qint64 position = 0;
    std::array<char, kBlock> block{};

    static la_ssize_t read(archive *, void *data, const void **buffer)
    {
        auto &self = *static_cast<SourceReader *>(data);
        const qint64 got = self.source.read(self.position, self.block.data(), qint64(self.block.size()));
        if (got < 0)
            return ARCHIVE_FATAL;
        self.position += got;
        *buffer = self.block.data();
        return la_ssize_t(got);
    }
    static la_int64_t seek(archive *, void *data, la_int64_t offset, int whence)
    {
        auto &self = *static_cast<SourceReader *>(data);
        const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? self.position : self.source.size();
        const qint64 target = base + offset;
        if (target < 0)
            return ARCHIVE_FATAL;
        self.position = std::min(target, self.source.size());
        return self.position;
    }
    static la_int64_t skip(archive *, void *data, la_int64_t request)
    {
        auto &self = *static_cast<SourceReader *>(data);
        const qint64 step = std::clamp<qint64>(request, 0, self.source.size() - self.position);
        self.position += step;
        return step;
    }
};

// The callbacks that stream an inner archive from the member the outer reader stands on.
struct MemberStream {
    archive *outer;
    Budget &budget;
    std::array<char, kBlock> block{};

    static la_ssize_t read(archive *, void *data, const void **buffer)
    {
        auto &self = *static_cast<MemberStream *>(data);
        if (self.budget.bytes > self.budget.limits.maxBytes || self.budget.timeUp())
            return ARCHIVE_FATAL;
        const la_ssize_t got = archive_read_data(self.outer, self.block.data(), self.block.size());
        if (got > 0)
            self.budget.bytes += uint64_t(got);
        *buffer = self.block.data();
        return got < 0 ? ARCHIVE_FATAL : got;
    }
};

struct ArchiveCloser {
    void operator()(archive *a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveCloser>;

// The formats an archive is tried as. Not every one libarchive has: mtree and raw read
// almost anything as an archive (raw is kept, for single compressed files, but only counts
// behind a compression filter) and empty takes an empty file.
ArchivePtr newReader()
{
    ArchivePtr a(archive_read_new());
    archive_read_support_filter_all(a.get());
    archive_read_support_format_zip(a.get());
    archive_read_support_format_7zip(a.get());
    archive_read_support_format_rar(a.get());
    archive_read_support_format_rar5(a.get());
    archive_read_support_format_tar(a.get());
    archive_read_support_format_gnutar(a.get());
    archive_read_support_format_cpio(a.get());
    archive_read_support_format_ar(a.get());
    archive_read_support_format_iso9660(a.get());
    archive_read_support_format_cab(a.get());
    archive_read_support_format_raw(a.get());
    return a;
}

bool isRaw(archive *a) { return archive_format(a) == ARCHIVE_FORMAT_RAW; }

bool compressed(archive *a)
{
    for (int i = 0; i < archive_filter_count(a); ++i)
        if (archive_filter_code(a, i) != ARCHIVE_FILTER_NONE)
            return true;
    return false;
}

std::string lastSegment(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class Listing {
public:
    Listing(Budget &budget, const std::function<void(const Member &)> &take) : m_budget(budget), m_take(take) {}

    // Lists one archive opened on a; prefix is its path inside the outermost archive
    // ("" for that one, "a/inner.zip/" below it); level counts from 1.
    End list(archive *a, const std::string &prefix, int level)
    {
        archive_entry *entry = nullptr;
        bool first = true;
        for (;;) {
            const int result = archive_read_next_header(a, &entry);
            if (result == ARCHIVE_EOF)
                return first && level == 1 ? End{Status::NotArchive, "empty"} : End{Status::Listed, {}};
            if (result != ARCHIVE_OK && result != ARCHIVE_WARN)
                return {first && level == 1 ? Status::NotArchive : Status::Unreadable, errorText(a)};
            if (first && isRaw(a) && !compressed(a))
                return {Status::NotArchive, "no archive format"};
            first = false;
            if (m_budget.timeUp() || m_budget.bytes > m_budget.limits.maxBytes)
                return {Status::OverBound, "over the time or the bytes an archive may take"};
            if (uint64_t(archive_filter_bytes(a, 0)) > m_budget.limits.maxBytes)
                return {Status::OverBound, "over the bytes an archive may take"};
            if (archive_entry_filetype(entry) != AE_IFREG)
                continue;
            if (++m_budget.members > m_budget.limits.maxMembers)
                return {Status::OverBound, "over the members an archive may hold"};
            const End inner = take(a, entry, prefix, level);
            if (inner.status == Status::OverBound)
                return inner;
        }
    }

private:
    static std::string errorText(archive *a)
    {
        const char *text = archive_error_string(a);
        return text ? text : "unreadable";
    }

    End take(archive *a, archive_entry *entry, const std::string &prefix, int level)
    {
        Member member;
        member.depth = uint8_t(level - 1);
        const char *name = archive_entry_pathname(entry);
        member.path = prefix + (isRaw(a) || !name ? "" : name);
        if (isRaw(a))
            member.size = readThrough(a);
        else
            member.size = archive_entry_size_is_set(entry) ? uint64_t(std::max<la_int64_t>(archive_entry_size(entry), 0)) : 0;
        member.hasTime = archive_entry_mtime_is_set(entry);
        member.time = member.hasTime ? int64_t(archive_entry_mtime(entry)) : 0;
        m_take(member);
        if (level >= m_budget.limits.maxDepth || isRaw(a) || !ArchiveProtocol::looksLikeArchive(lastSegment(member.path)))
            return {};
        return listInner(a, entry, member.path + '/', level + 1);
    }

    // The size of a compressed single file is known only once it is read.
    uint64_t readThrough(archive *a)
    {
        uint64_t total = 0;
        std::array<char, kBlock> block{};
        for (la_ssize_t got; (got = archive_read_data(a, block.data(), block.size())) > 0;) {
            total += uint64_t(got);
            m_budget.bytes += uint64_t(got);
            if (m_budget.bytes > m_budget.limits.maxBytes || m_budget.timeUp())
                break;
        }
        return total;
    }

    // An archive inside the one a stands on: its failure leaves it a plain member.
    End listInner(archive *outer, archive_entry *entry, const std::string &prefix, int level)
    {
        ArchivePtr inner = newReader();
        const bool fits = archive_entry_size_is_set(entry) &&
                          uint64_t(archive_entry_size(entry)) <= m_budget.limits.nestedBuffer;
        if (fits) {
            std::string bytes;
            if (!readMember(outer, bytes))
                return {Status::Unreadable, errorText(outer)};
            MemoryByteSource source(std::move(bytes));
            SourceReader reader{source};
            if (!openOn(inner.get(), reader))
                return {Status::Unreadable, errorText(inner.get())};
            return list(inner.get(), prefix, level);
        }
        MemberStream stream{outer, m_budget};
        if (archive_read_open(inner.get(), &stream, nullptr, &MemberStream::read, nullptr) != ARCHIVE_OK)
            return {Status::Unreadable, errorText(inner.get())};
        return list(inner.get(), prefix, level);
    }

    bool readMember(archive *a, std::string &bytes)
    {
        std::array<char, kBlock> block{};
        for (;;) {
            const la_ssize_t got = archive_read_data(a, block.data(), block.size());
            if (got == 0)
                return true;
            if (got < 0 || bytes.size() + size_t(got) > m_budget.limits.nestedBuffer)
                return false;
            bytes.append(block.data(), size_t(got));
            m_budget.bytes += uint64_t(got);
            if (m_budget.bytes > m_budget.limits.maxBytes || m_budget.timeUp())
                return false;
        }
    }

public:
    static bool openOn(archive *a, SourceReader &reader)
    {
        archive_read_set_callback_data(a, &reader);
        archive_read_set_read_callback(a, &SourceReader::read);
        archive_read_set_seek_callback(a, &SourceReader::seek);
        archive_read_set_skip_callback(a, &SourceReader::skip);
        return archive_read_open1(a) == ARCHIVE_OK;
    }

private:
    Budget &m_budget;
    const std::function<void(const Member &)> &m_take;
};

} // namespace

End listArchive(FileContent &source, const ArchiveLimits &limits, const std::function<void(const Member &)> &take)
{
    Budget budget{limits, Clock::now() + limits.maxTime};
    ArchivePtr a = newReader();
    SourceReader reader{source};
    if (!Listing::openOn(a.get(), reader)) {
        const char *text = archive_error_string(a.get());
        return {Status::NotArchive, text ? text : "no archive format"};
    }
    Listing listing(budget, take);
    return listing.list(a.get(), {}, 1);
}
