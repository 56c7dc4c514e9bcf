// The lock of one instance per session in the shared temporary folder, and the signal
// handler that ends the run.
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

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
        const QString path = SingleInstance::lockPath();
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(tmp.path()).absoluteFilePath());

        const QString target = tmp.filePath(u"elsewhere"_s);
        QVERIFY(QFile::link(target, path));
        QVERIFY(SingleInstance().acquire());
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(QFile::remove(path));

        const int foreign = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0666);
        QVERIFY(foreign >= 0);
        QCOMPARE(::fchown(foreign, 12345, 12345), 0);
        QCOMPARE(::flock(foreign, LOCK_EX | LOCK_NB), 0);
        QVERIFY(SingleInstance().acquire());
        ::close(foreign);

        QVERIFY(QFile::remove(path));
        SingleInstance first;
        QVERIFY(first.acquire());
        QVERIFY(!SingleInstance().acquire());
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
