#include "DigestReader.h"

#include "drives/platform/formats/FileHash.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <thread>

using Clock = std::chrono::steady_clock;

struct DigestReader::Shared {
    QStringList paths;
    DigestKind kind = DigestKind::Sha256;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> order; // indexes of paths in the order of their places on the disc
    size_t next = 0;
    QList<QByteArray> results;
    std::vector<bool> done;
    int finished = 0;
    int failed = 0;
    int running = 0; // reader threads that have not ended
    std::atomic<qint64> bytes{0};
    std::atomic<bool> cancelled{false};

    void finish(int index, QByteArray digest) // with the mutex held
    {
        if (done[size_t(index)])
            return;
        done[size_t(index)] = true;
        ++finished;
        if (digest.isEmpty())
            ++failed;
        results[index] = std::move(digest);
    }
};

struct DigestReader::Reader {
    std::thread thread;
    // What it reads now (with the mutex held): the index, since when, how many bytes.
    int current = -1;
    Clock::time_point started;
    qint64 size = 0;
    // Its file was given up: no further read of it, and the thread ends.
    std::atomic<bool> abandoned{false};
};

namespace {

using Shared = DigestReader::Shared;
using Reader = DigestReader::Reader;

// The file's digest, or empty when it cannot be read whole.
QByteArray readWhole(FileSource &source, const QString &path, Shared &shared, Reader &reader,
                     const DigestLimits &limits)
{
    int error = 0;
    const std::unique_ptr<FileContent> content = source.open(path, error);
    if (!content)
        return {};
    const qint64 size = content->size();
    if (shared.kind == DigestKind::Content && size > FileHash::ContentLimit)
        return {};
    {
        std::lock_guard lock(shared.mutex);
        reader.size = size;
    }
    const std::unique_ptr<FileHash> hash = FileHash::make(shared.kind);
    QByteArray buffer(qsizetype(std::min(limits.chunk, std::max<qint64>(size, 1))), Qt::Uninitialized);
    int failures = 0;
    for (qint64 offset = 0; offset < size;) {
        if (reader.abandoned || shared.cancelled)
            return {};
        const qint64 n = content->read(offset, buffer.data(), std::min<qint64>(buffer.size(), size - offset));
        if (n <= 0) { // an error, or a file that ends before its size
            if (++failures > limits.retries)
                return {};
            continue;
        }
        failures = 0;
        if (!hash->add(QByteArrayView(buffer.constData(), n)))
            return {};
        offset += n;
        shared.bytes += n;
    }
    return hash->result();
}

void readFiles(std::shared_ptr<Shared> shared, std::shared_ptr<Reader> reader, std::unique_ptr<FileSource> source,
               DigestLimits limits)
{
    std::unique_lock lock(shared->mutex);
    while (!shared->cancelled && !reader->abandoned && shared->next < shared->order.size()) {
        const int index = shared->order[shared->next++];
        reader->current = index;
        reader->started = Clock::now();
        reader->size = 0;
        lock.unlock();
        QByteArray digest = source ? readWhole(*source, shared->paths.at(index), *shared, *reader, limits) : QByteArray();
        lock.lock();
        if (reader->abandoned)
            break; // its result was given already
        shared->finish(index, std::move(digest));
        reader->current = -1;
        // The owner looks every few milliseconds anyway; woken only for the end, it does
        // not take the processor from the reader at every small file.
        if (shared->finished == shared->paths.size())
            shared->changed.notify_all();
    }
    reader->current = -1;
    --shared->running;
    shared->changed.notify_all();
}

} // namespace

DigestReader::DigestReader(OpenSource open, QStringList paths, DigestLimits limits, DigestKind kind)
    : m_open(std::move(open))
    , m_limits(limits)
    , m_shared(std::make_shared<Shared>())
{
    Shared &shared = *m_shared;
    shared.paths = std::move(paths);
    shared.kind = kind;
    shared.results.resize(shared.paths.size());
    shared.done.assign(size_t(shared.paths.size()), false);
    shared.order.resize(size_t(shared.paths.size()));
    std::iota(shared.order.begin(), shared.order.end(), 0);
    std::unique_ptr<FileSource> first = m_open();
    if (first) {
        std::vector<qint64> places;
        for (const QString &path : std::as_const(shared.paths))
            places.push_back(first->position(path));
        std::stable_sort(shared.order.begin(), shared.order.end(),
                         [&](int a, int b) { return places[size_t(a)] < places[size_t(b)]; });
    }
    if (!shared.paths.isEmpty())
        startReader(std::move(first));
}

DigestReader::~DigestReader()
{
    cancel();
    std::unique_lock lock(m_shared->mutex);
    // The reader ends after its current read, unless that read is blocked in the kernel:
    // then it is left to end on its own, as the ones given up before.
    m_shared->changed.wait_for(lock, std::chrono::seconds(1), [this] { return m_shared->running <= m_stuck; });
    lock.unlock();
    if (m_reader)
        m_reader->thread.detach();
}

void DigestReader::cancel()
{
    m_shared->cancelled = true;
    std::lock_guard lock(m_shared->mutex);
    m_shared->changed.notify_all();
}

void DigestReader::startReader(std::unique_ptr<FileSource> source)
{
    if (m_reader)
        m_reader->thread.detach();
    m_reader = std::make_shared<Reader>();
    {
        std::lock_guard lock(m_shared->mutex);
        ++m_shared->running;
    }
    m_reader->thread = std::thread(readFiles, m_shared, m_reader, std::move(source), m_limits);
}

bool DigestReader::giveUpOverdue()
{
    Reader &reader = *m_reader;
    const auto allowed =
        m_limits.perFile +
        std::chrono::milliseconds(reader.size * 1000 / std::max<qint64>(m_limits.slowestBytesPerSecond, 1));
    if (reader.abandoned || reader.current < 0 || Clock::now() - reader.started <= allowed)
        return false;
    reader.abandoned = true;
    m_shared->finish(reader.current, {});
    ++m_stuck;
    if (m_stuck > m_limits.stuckReaders) { // the drive answers no more: the rest are given up
        for (; m_shared->next < m_shared->order.size(); ++m_shared->next)
            m_shared->finish(m_shared->order[m_shared->next], {});
        return false;
    }
    return m_shared->next < m_shared->order.size() && !m_shared->cancelled;
}

bool DigestReader::wait(std::chrono::milliseconds most)
{
    std::unique_lock lock(m_shared->mutex);
    const auto over = [this] {
        return m_shared->finished == m_shared->paths.size() || (m_shared->cancelled && m_shared->running <= m_stuck);
    };
    m_shared->changed.wait_for(lock, most, over);
    if (m_reader && giveUpOverdue()) {
        lock.unlock();
        startReader(m_open());
        lock.lock();
    }
    return over();
}

int DigestReader::filesDone() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->finished;
}

int DigestReader::unreadableFiles() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->failed;
}

qint64 DigestReader::bytesRead() const
{
    return m_shared->bytes;
}

QList<QByteArray> DigestReader::results() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->results;
}
