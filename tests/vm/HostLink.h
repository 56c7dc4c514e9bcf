#pragma once

// The test machine's line to the host that runs it (tests/vm/vmrun.py), over a
// virtio-serial port: one request line, one answer line ("ok ..." or "error ..."). The host
// changes the medium and moves the tray through QEMU's monitor and answers once QEMU has
// reported the tray's move.
//   eject              the medium leaves, the tray stays open
//   insert IMAGE       the image goes in, the tray closes
//   insert-damaged S,S IMAGE   the same, with reads of those 512-byte sectors failing (EIO)
//   open / close       the tray moves, the medium stays
//   wait-tray open|closed   until the tray is so (after the guest moved it)
//   tray               "ok open" or "ok closed", as QEMU sees it
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

class HostLink {
public:
    HostLink()
        : m_fd(::open(qgetenv("QUILLON_VM_LINK").constData(), O_RDWR | O_CLOEXEC))
    {
    }
    ~HostLink()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    HostLink(const HostLink &) = delete;
    HostLink &operator=(const HostLink &) = delete;

    bool isOpen() const { return m_fd >= 0; }

    // The host's answer, or "error ..." when the line broke or it took longer than the
    // host's own limit (60 s for a tray move) and some.
    QString ask(const QString &request)
    {
        const QByteArray line = request.toUtf8() + '\n';
        if (m_fd < 0 || ::write(m_fd, line.constData(), size_t(line.size())) != line.size())
            return QStringLiteral("error cannot write to the host");
        QByteArray answer;
        char c = 0;
        while (true) {
            pollfd wait{m_fd, POLLIN, 0};
            if (::poll(&wait, 1, 90000) != 1 || ::read(m_fd, &c, 1) != 1)
                return QStringLiteral("error no answer from the host");
            if (c == '\n')
                return QString::fromUtf8(answer);
            answer.append(c);
        }
    }

private:
    int m_fd;
};
