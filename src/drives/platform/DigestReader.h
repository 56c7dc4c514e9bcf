#pragma once

#include "FileSource.h"
#include "drives/platform/formats/FileHash.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

// How DigestReader deals with a disc that reads badly.
struct DigestLimits {
    // Further reads of a piece that could not be read before the file is given up.
    int retries = 2;
    // A file's reading is given up this long after it began, plus the time its size takes at
    // the slowest speed of a disc (a CD at single speed): what a read blocked in the kernel
    // holds up, and no longer.
    std::chrono::milliseconds perFile{30000};
    qint64 slowestBytesPerSecond = 150 * 1024;
    // Readers left blocked in the kernel before the rest of the files are given up too: a
    // drive that stops answering answers none of them.
    int stuckReaders = 3;
    // The size of one read: large sequential reads, yet small enough to stay in the
    // processor's cache between the read and the hash (1 MiB reads hashed 15% slower).
    qint64 chunk = qint64(128) << 10;
};

// Reads files whole, on reader threads, and gives the SHA-256 of each (or another digest, or
// the bytes). The files are read
// in the order of their places on the disc. A file that cannot be read (an error after the
// retries, or its time limit passed) gets no digest, and the reading goes on with the next
// file: a read that is blocked in the kernel cannot be cut short, so its thread is left to
// end on its own, makes no further read of that file, and a new reader takes the rest.
// The owner (one thread) creates it, calls wait() until it answers true, and reads the
// results.
class DigestReader {
public:
    // Called on the owner's thread, once at the start and once for every new reader.
    using OpenSource = std::function<std::unique_ptr<FileSource>()>;

    DigestReader(OpenSource open, QStringList paths, DigestLimits limits = {},
                 DigestKind kind = DigestKind::Sha256);
    // Stops the readers; one blocked in the kernel is left to end on its own.
    ~DigestReader();
    DigestReader(const DigestReader &) = delete;
    DigestReader &operator=(const DigestReader &) = delete;

    // Waits at most that long for the readers; true once every file has its result.
    bool wait(std::chrono::milliseconds most);
    // No file is begun after this; wait() then answers true soon.
    void cancel();

    int filesDone() const;
    int unreadableFiles() const;
    qint64 bytesRead() const;
    // The digest of each file by its index in paths, empty for one that could not be read;
    // complete once wait() answered true.
    QList<QByteArray> results() const;

    struct Shared;
    struct Reader;

private:
    void startReader(std::unique_ptr<FileSource> source);
    // With the mutex held: gives up the reader's file once its time is over; true when a
    // new reader is to take the rest.
    bool giveUpOverdue();

    OpenSource m_open;
    DigestLimits m_limits;
    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<Reader> m_reader; // the one reader still answering
    int m_stuck = 0;
};
