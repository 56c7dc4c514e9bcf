// The lock of one instance per catalogue, the channel on which a second start reaches the
// running window, and the signal handler that ends the run.
#include "app/InstanceChannel.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// What a client run through the wrapper (empty: as this user) gets when it asks at the
// socket for the window: the server's answer, or "refused" and why. The event loop runs
// meanwhile, so the server in this process can answer.
QString askAs(QStringList wrapper, const QString &socket)
{
    const QString client = uR"(
import socket, sys
try:
    s = socket.socket(socket.AF_UNIX)
    s.settimeout(5)
    s.connect(sys.argv[1])
    s.sendall(b"activate\n")
    print(s.recv(16).decode().strip() or "refused: closed")
except OSError as error:
    print("refused:", error)
)"_s;
    wrapper << u"/usr/bin/python3"_s << u"-c"_s << client << socket;
    QProcess process;
    process.start(wrapper.takeFirst(), wrapper);
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000))
        return u"the client did not end"_s;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed() + QString::fromUtf8(process.readAllStandardError());
}

class TestInstanceLock : public QObject {
    Q_OBJECT

private slots:
    // Without a runtime folder the lock lies where every user may write: a link there is
    // not followed, and a file of another user (who could hold it) does not stop the run.
    void sharedFolderLockIsOursOrNone()
    {
        if (::getuid() != 0)
            QSKIP("making a file of another user needs root");
        QTemporaryDir tmp;
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        const QString catalogue = tmp.filePath(u"dbQL.mdb"_s);
        const QString path = SingleInstance(catalogue).lockPath();
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(tmp.path()).absoluteFilePath());

        const QString target = tmp.filePath(u"elsewhere"_s);
        QVERIFY(QFile::link(target, path));
        QVERIFY(SingleInstance(catalogue).acquire());
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(QFile::remove(path));

        const int foreign = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0666);
        QVERIFY(foreign >= 0);
        QCOMPARE(::fchown(foreign, 12345, 12345), 0);
        QCOMPARE(::flock(foreign, LOCK_EX | LOCK_NB), 0);
        QVERIFY(SingleInstance(catalogue).acquire());
        ::close(foreign);

        QVERIFY(QFile::remove(path));
        SingleInstance first(catalogue);
        QVERIFY(first.acquire());
        QVERIFY(!SingleInstance(catalogue).acquire());
    }

    // One instance per catalogue: another catalogue runs beside it, and the same file
    // reached through a link or a relative path is the same catalogue.
    void oneInstancePerCatalogue()
    {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const QString own = runtime.filePath(u"dbQL.mdb"_s), other = runtime.filePath(u"other.mdb"_s);
        QFile(own).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(own, runtime.filePath(u"link.mdb"_s)));
        SingleInstance first(own);
        QVERIFY(first.acquire());
        QVERIFY(SingleInstance(other).acquire());
        QVERIFY(!SingleInstance(runtime.filePath(u"link.mdb"_s)).acquire());
        QVERIFY(!SingleInstance(QDir::current().relativeFilePath(own)).acquire());
    }

    // The running window hears a request to come to the front from a process of its own
    // user, answers it, and cuts off one of another user.
    void activationRequestsOnlyFromTheSameUser()
    {
        if (::getuid() != 0)
            QSKIP("running a client as another user needs root");
        QTemporaryDir runtime;
        QVERIFY(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                           QFile::ExeGroup | QFile::ExeOther));
        const QString socket = runtime.filePath(u"Quillon-test.socket"_s);
        InstanceServer server;
        QVERIFY(server.listen(socket));
        QSignalSpy requests(&server, &InstanceServer::activationRequested);

        QCOMPARE(askAs({}, socket), u"ok"_s);
        QCOMPARE(requests.size(), 1);
        const QString refused = askAs({u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s}, socket);
        QVERIFY2(refused.startsWith(u"refused"_s), qPrintable(refused));
        QCOMPARE(requests.size(), 1);
    }

    // The handler writes to a pipe; once the pipe is full that write fails, and the errno
    // of the interrupted code must still be its own.
    void signalHandlerKeepsErrno()
    {
        TerminationSignals::install();
        for (int i = 0; i < 70000; ++i)
            std::raise(SIGTERM); // fills the pipe: nothing reads it here
        errno = ERANGE;
        std::raise(SIGTERM);
        QCOMPARE(errno, ERANGE);
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
