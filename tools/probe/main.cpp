// quillon-probe: lists the files of archives for the program's import. It reads requests
// (archive paths) from its standard input and answers each on its standard output (see
// ArchiveProtocol.h), until its input ends. It parses what the discs hold, so it runs
// alone: it cannot gain privileges, write a file, or take more memory than it is given,
// and the program kills it when an archive takes too long and starts another.
#include "drives/platform/formats/ArchiveLister.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <csignal>
#include <unistd.h>

namespace {

void limit(int resource, rlim_t value)
{
    const rlimit bound{value, value};
    setrlimit(resource, &bound);
}

void confine()
{
    prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0);
    limit(RLIMIT_FSIZE, 0); // nothing is written to disk
    limit(RLIMIT_CORE, 0);
    limit(RLIMIT_NOFILE, 16);
    limit(RLIMIT_NPROC, 0);
#if !defined(__SANITIZE_ADDRESS__)
    limit(RLIMIT_AS, rlim_t(1) << 30); // the sanitizers reserve far more address space
#endif
}

bool writeAll(const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += size_t(written);
    }
    return true;
}

// Lists one archive, its records sent in blocks rather than one write each.
bool answer(const std::string &path, const ArchiveLimits &limits)
{
    std::string out;
    bool ok = true;
    const auto flush = [&] {
        ok = ok && writeAll(out);
        out.clear();
    };
    FileByteSource source(path);
    End end{ArchiveProtocol::Status::Unreadable, "cannot open"};
    if (source.isOpen())
        end = listArchive(source, limits, [&](const Member &member) {
            out += ArchiveProtocol::encode(member);
            if (out.size() > 256 * 1024)
                flush();
        });
    out += ArchiveProtocol::encode(end);
    flush();
    return ok;
}

} // namespace

int main()
{
    // Names reach the program as the archive holds their bytes; 7z and others that store
    // UTF-16 give UTF-8.
    std::setlocale(LC_ALL, "C.UTF-8");
    std::signal(SIGPIPE, SIG_IGN);
    confine();
    const ArchiveLimits limits;
    ArchiveProtocol::Reader reader;
    char block[4096];
    for (;;) {
        while (auto path = reader.takeRequest())
            if (!answer(*path, limits))
                return 1;
        if (reader.failed())
            return 1;
        const ssize_t got = ::read(STDIN_FILENO, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return 0;
        reader.append(std::string_view(block, size_t(got)));
    }
}
