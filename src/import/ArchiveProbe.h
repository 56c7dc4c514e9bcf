#pragma once

#include <QByteArrayView>
#include <QList>
#include <QProcess>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// A file inside an archive, as the import lists it.
struct ArchiveMember {
    QString name;
    // The member's folder inside the archive, "\" between folders and at the end ("夏天\",
    // "inner.zip\a\"); empty for one at the archive's root. It never climbs out of the
    // archive: ".." and the like are kept as text ("%2E%2E").
    QString folder;
    quint64 size = 0;
    std::optional<qint64> time; // seconds since 1970, when the archive stores one
};

struct ArchiveListing {
    bool readable = false;
    QList<ArchiveMember> members;
    // Why it could not be read, for the log (the probe's words, or its end).
    QString problem;
};

// The program's side of quillon-probe, the process that opens archives: started on the
// first archive and kept for the next ones. An archive it fails on (it crashes, hangs
// past the time an archive may take, or answers nonsense) is unreadable; the probe is
// stopped then and started anew for the next one.
class ArchiveProbe {
public:
    // timeout: how long one archive may take before the probe is stopped.
    explicit ArchiveProbe(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    ~ArchiveProbe();
    ArchiveProbe(const ArchiveProbe &) = delete;
    ArchiveProbe &operator=(const ArchiveProbe &) = delete;

    // Lists the archive at nativePath (the bytes of a path on the local file system);
    // name is how the catalogue calls it, for the content of a compressed single file.
    // goOn runs while the answer is awaited (at least every 100 ms, so a window stays
    // live); when it returns false the listing ends unread and the probe is stopped.
    ArchiveListing list(const QByteArray &nativePath, const QString &name, const std::function<bool()> &goOn = {});

    // quillon-probe beside the running program (QUILLON_PROBE names another).
    static QString program();

private:
    bool start();
    void stop();

    std::chrono::milliseconds m_timeout;
    std::unique_ptr<QProcess> m_process;
};

// The member a probe's record names: its raw path bytes ('/' between folders) decoded and
// made safe for the path column. archiveName is the name of the outermost archive.
ArchiveMember memberFromPath(QByteArrayView path, const QString &archiveName);
