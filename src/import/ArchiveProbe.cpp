#include "ArchiveProbe.h"

#include "drives/platform/formats/ArchiveProtocol.h"
#include "drives/platform/formats/NameBytes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// A folder or name as the path column may hold it: no backslash (the column's separator),
// no colon (a drive letter), no control character; each kept as "%XX" so it stays findable.
QString safeSegment(const QString &segment)
{
    if (segment == u".."_s)
        return u"%2E%2E"_s;
    QString safe;
    safe.reserve(segment.size());
    for (const QChar c : segment) {
        if (c == u'\\' || c == u':' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            safe += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            safe += c;
    }
    return safe;
}

// "photo.jpg.gz" → "photo.jpg": the name of a compressed single file's content.
QString withoutLastExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

} // namespace

ArchiveMember memberFromPath(QByteArrayView path, const QString &archiveName)
{
    QStringList segments;
    const QList<QByteArray> parts = QByteArray(path.data(), path.size()).split('/');
    for (const QByteArray &part : parts)
        if (!part.isEmpty() && part != "."_ba)
            segments.append(safeSegment(NameBytes::decode(part)));
    ArchiveMember member;
    const bool single = path.isEmpty() || path.endsWith('/'); // the content of a file.gz
    if (single)
        member.name = withoutLastExtension(segments.isEmpty() ? archiveName : segments.constLast());
    else if (!segments.isEmpty())
        member.name = segments.takeLast();
    if (member.name.isEmpty())
        member.name = u"%00"_s; // a member without a name still has a row to be found by
    for (const QString &segment : segments)
        member.folder += segment + u'\\';
    return member;
}

ArchiveProbe::ArchiveProbe(std::chrono::milliseconds timeout)
    : m_timeout(timeout)
{
}

ArchiveProbe::~ArchiveProbe()
{
    stop();
}

QString ArchiveProbe::program()
{
    const QString chosen = qEnvironmentVariable("QUILLON_PROBE");
    return chosen.isEmpty() ? QCoreApplication::applicationDirPath() + u"/quillon-probe"_s : chosen;
}

bool ArchiveProbe::start()
{
    if (m_process && m_process->state() == QProcess::Running)
        return true;
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(program(), {}, QIODevice::ReadWrite);
    return m_process->waitForStarted(5000);
}

void ArchiveProbe::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    m_process.reset();
}

ArchiveListing ArchiveProbe::list(const QByteArray &nativePath, const QString &name,
                                  const std::function<bool()> &goOn)
{
    ArchiveListing listing;
    if (!start()) {
        listing.problem = QCoreApplication::translate("ArchiveProbe", "无法启动%1").arg(program());
        stop();
        return listing;
    }
    const std::string request = ArchiveProtocol::request(nativePath.toStdString());
    m_process->write(request.data(), qint64(request.size()));
    ArchiveProtocol::Reader reader;
    const QDeadlineTimer deadline(m_timeout);
    for (;;) {
        while (const auto member = reader.member()) {
            ArchiveMember taken = memberFromPath(QByteArrayView(member->path.data(), qsizetype(member->path.size())), name);
            taken.size = member->size;
            if (member->hasTime)
                taken.time = member->time;
            listing.members.append(std::move(taken));
        }
        if (const auto end = reader.end()) {
            listing.readable = end->status == ArchiveProtocol::Status::Listed;
            listing.problem = QString::fromStdString(end->message);
            if (!listing.readable)
                listing.members.clear();
            return listing;
        }
        const bool stopped = goOn && !goOn();
        if (stopped || reader.failed() || deadline.hasExpired() || m_process->state() != QProcess::Running) {
            listing.problem = deadline.hasExpired()
                                  ? QCoreApplication::translate("ArchiveProbe", "读取超时")
                                  : QCoreApplication::translate("ArchiveProbe", "读取时出错");
            listing.members.clear();
            stop();
            return listing;
        }
        if (m_process->bytesAvailable() == 0)
            m_process->waitForReadyRead(100);
        const QByteArray bytes = m_process->readAll();
        reader.append(std::string_view(bytes.constData(), size_t(bytes.size())));
    }
}
