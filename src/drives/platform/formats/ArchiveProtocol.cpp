#include "ArchiveProtocol.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace ArchiveProtocol {
namespace {

// A name longer than this is no name: the reader refuses it and the probe is restarted.
constexpr uint32_t kLongestText = 1 << 20;

void put(std::string &out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

uint64_t get(std::string_view in, size_t at, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint64_t(uint8_t(in[at + size_t(i)])) << (8 * i);
    return value;
}

void putText(std::string &out, std::string_view text)
{
    const auto length = uint32_t(std::min<size_t>(text.size(), kLongestText));
    put(out, length, 4);
    out.append(text.substr(0, length));
}

// Member: 'M', depth (1), size (8), has time (1), time (8), path length (4), path.
constexpr size_t kMemberHead = 1 + 1 + 8 + 1 + 8 + 4;
// End: 'E', status (1), message length (4), message.
constexpr size_t kEndHead = 1 + 1 + 4;

} // namespace

bool looksLikeArchive(std::string_view name)
{
    static constexpr std::array<std::string_view, 19> kEndings{
        ".zip", ".7z", ".rar", ".tar", ".tgz", ".tbz", ".tbz2", ".txz", ".tzst", ".gz",
        ".bz2", ".xz", ".zst", ".lzma", ".lz", ".cab", ".cpio", ".ar", ".iso"};
    std::string lower(name.size() > 8 ? name.substr(name.size() - 8) : name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return std::any_of(kEndings.begin(), kEndings.end(), [&](std::string_view ending) {
        return lower.size() > ending.size() && lower.ends_with(ending);
    });
}

std::string request(std::string_view path)
{
    std::string out;
    putText(out, path);
    return out;
}

std::string encode(const Member &member)
{
    std::string out(1, 'M');
    put(out, member.depth, 1);
    put(out, member.size, 8);
    put(out, member.hasTime ? 1 : 0, 1);
    put(out, uint64_t(member.time), 8);
    putText(out, member.path);
    return out;
}

std::string encode(const End &end)
{
    std::string out(1, 'E');
    put(out, uint8_t(end.status), 1);
    putText(out, end.message);
    return out;
}

char Reader::next() const
{
    if (m_failed || m_buffer.empty())
        return 0;
    const char kind = m_buffer[0];
    const size_t head = kind == 'M' ? kMemberHead : kind == 'E' ? kEndHead : 0;
    if (head == 0 || m_buffer.size() < head)
        return 0;
    const uint64_t length = get(m_buffer, head - 4, 4);
    return m_buffer.size() >= head + length ? kind : 0;
}

std::optional<Member> Reader::member()
{
    if (!m_failed && !m_buffer.empty() && m_buffer[0] != 'M' && m_buffer[0] != 'E')
        m_failed = true;
    if (next() != 'M')
        return std::nullopt;
    const uint64_t length = get(m_buffer, kMemberHead - 4, 4);
    if (length > kLongestText || get(m_buffer, 1, 1) > 3) {
        m_failed = true;
        return std::nullopt;
    }
    Member member;
    member.depth = uint8_t(get(m_buffer, 1, 1));
    member.size = get(m_buffer, 2, 8);
    member.hasTime = get(m_buffer, 10, 1) != 0;
    member.time = int64_t(get(m_buffer, 11, 8));
    member.path = m_buffer.substr(kMemberHead, length);
    m_buffer.erase(0, kMemberHead + length);
    return member;
}

std::optional<End> Reader::end()
{
    if (next() != 'E')
        return std::nullopt;
    const uint64_t length = get(m_buffer, kEndHead - 4, 4);
    const uint64_t status = get(m_buffer, 1, 1);
    if (length > kLongestText || status > uint64_t(Status::OverBound)) {
        m_failed = true;
        return std::nullopt;
    }
    End end{Status(status), m_buffer.substr(kEndHead, length)};
    m_buffer.erase(0, kEndHead + length);
    return end;
}

std::optional<std::string> Reader::takeRequest()
{
    if (m_buffer.size() < 4)
        return std::nullopt;
    const uint64_t length = get(m_buffer, 0, 4);
    if (length > kLongestText) {
        m_failed = true;
        return std::nullopt;
    }
    if (m_buffer.size() < 4 + length)
        return std::nullopt;
    std::string path = m_buffer.substr(4, length);
    m_buffer.erase(0, 4 + length);
    return path;
}

} // namespace ArchiveProtocol
