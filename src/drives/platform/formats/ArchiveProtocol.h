#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What quillon-probe, the process that opens archives, and the program say to each other
// through its standard input and output. The program sends the path of an archive; the
// probe answers with one Member record for every file in it (and in the archives inside
// it), then one End record. Numbers are little-endian; names go as the archive holds their
// bytes (the program decodes them, as it decodes every name).
namespace ArchiveProtocol {

// How the listing of an archive ended.
enum class Status : uint8_t {
    Listed,      // every member was listed
    NotArchive,  // no format the probe reads (or one that accepts anything)
    Unreadable,  // corrupt, truncated, header-encrypted or of an unsupported variant
    OverBound,   // more members, bytes or time than an archive may take
};

struct Member {
    // 0 for a member of the archive itself, n for one inside the n-th archive within it.
    uint8_t depth = 0;
    // The member's path from the archive's root, '/' between folders; a member of an
    // archive inside it has that archive's path in front ("a/inner.zip/b/c.txt"). The
    // last segment is empty for the one content of a compressed single file (file.txt.gz).
    std::string path;
    // The uncompressed size as the archive states it.
    uint64_t size = 0;
    bool hasTime = false;
    int64_t time = 0; // seconds since 1970 (UTC)
};

struct End {
    Status status = Status::Listed;
    std::string message;
};

// Whether a file's name makes it worth opening as an archive (its content decides then):
// so a plain file costs nothing more. Documents that are zip files inside (.docx, .jar)
// are not opened: their members are no files of the user's.
bool looksLikeArchive(std::string_view name);

std::string request(std::string_view path);
std::string encode(const Member &member);
std::string encode(const End &end);

// Reads records from the front of a buffer that fills as the pipe delivers them.
class Reader {
public:
    void append(std::string_view bytes) { m_buffer.append(bytes); }
    // The next complete record, if the buffer holds one; it is taken from the buffer.
    // A malformed record makes failed() true (the probe is then not trusted any more).
    std::optional<Member> member();
    std::optional<End> end();
    // The kind of the next complete record: 'M', 'E', or 0 while none is complete.
    char next() const;
    bool failed() const { return m_failed; }
    // Takes a complete request from the front of the buffer (the probe's side).
    std::optional<std::string> takeRequest();

private:
    bool m_failed = false;
    std::string m_buffer;
};

} // namespace ArchiveProtocol
