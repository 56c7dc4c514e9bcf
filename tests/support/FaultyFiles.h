#pragma once

#include "drives/platform/FileSource.h"

#include <QHash>
#include <QString>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>

// A drive's files as a damaged disc gives them: reads that touch a chosen 2048-byte block
// of a file fail with EIO, or stall (block, as a read in the kernel does, until the stalls
// are released, and then fail). Counts the reads asked of each file. Shared by the sources
// it wraps, so a reader thread may outlive the platform.
class FaultyFiles {
public:
    enum class Fault { Fail, Stall };
    static constexpr qint64 BlockSize = 2048;

    void set(const QString &path, qint64 block, Fault fault)
    {
        std::lock_guard lock(m_mutex);
        m_faults.insert(path, {block, fault});
    }
    void releaseStalls()
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    int reads(const QString &path) const
    {
        std::lock_guard lock(m_mutex);
        return m_reads.value(path);
    }
    int stalled() const
    {
        std::lock_guard lock(m_mutex);
        return m_stalled;
    }

    // The source of the drive with the faults on top.
    static std::unique_ptr<FileSource> wrap(std::shared_ptr<FaultyFiles> faults, std::unique_ptr<FileSource> real);

    // 0 when the read may go on, else what it gives (-EIO).
    qint64 before(const QString &path, qint64 offset, qint64 length)
    {
        std::unique_lock lock(m_mutex);
        ++m_reads[path];
        const auto found = m_faults.constFind(path);
        if (found == m_faults.cend() || offset + length <= found->block * BlockSize ||
            offset >= (found->block + 1) * BlockSize)
            return 0;
        if (found->fault == Fault::Stall) {
            ++m_stalled;
            m_changed.wait(lock, [this] { return m_released; });
        }
        return -EIO;
    }

private:
    struct Placed {
        qint64 block;
        Fault fault;
    };
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QHash<QString, Placed> m_faults;
    QHash<QString, int> m_reads;
    int m_stalled = 0;
    bool m_released = false;
};

namespace FaultyFilesDetail {
class Content : public FileContent {
public:
    Content(std::shared_ptr<FaultyFiles> faults, QString path, std::unique_ptr<FileContent> real)
        : m_faults(std::move(faults)), m_path(std::move(path)), m_real(std::move(real))
    {
    }
    qint64 size() const override { return m_real->size(); }
    qint64 read(qint64 offset, char *buffer, qint64 length) override
    {
        const qint64 fault = m_faults->before(m_path, offset, length);
        return fault ? fault : m_real->read(offset, buffer, length);
    }

private:
    std::shared_ptr<FaultyFiles> m_faults;
    QString m_path;
    std::unique_ptr<FileContent> m_real;
};

class Source : public FileSource {
public:
    Source(std::shared_ptr<FaultyFiles> faults, std::unique_ptr<FileSource> real)
        : m_faults(std::move(faults)), m_real(std::move(real))
    {
    }
    qint64 position(const QString &path) override { return m_real->position(path); }
    std::unique_ptr<FileContent> open(const QString &path, int &error) override
    {
        auto real = m_real->open(path, error);
        return real ? std::make_unique<Content>(m_faults, path, std::move(real)) : nullptr;
    }

private:
    std::shared_ptr<FaultyFiles> m_faults;
    std::unique_ptr<FileSource> m_real;
};
} // namespace FaultyFilesDetail

inline std::unique_ptr<FileSource> FaultyFiles::wrap(std::shared_ptr<FaultyFiles> faults,
                                                     std::unique_ptr<FileSource> real)
{
    return std::make_unique<FaultyFilesDetail::Source>(std::move(faults), std::move(real));
}
