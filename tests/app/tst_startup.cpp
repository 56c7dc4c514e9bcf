// Start-up and shut-down: the failed connection, one instance per session, and the
// signals of a logout ending the program the normal way.
#include "RecordingErrorPresenter.h"
#include "ScriptedPrompts.h"
#include "TestProgramDir.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "store/CatalogueLock.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

quint64 inodeOf(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

// True when some process holds a lock on the file (read from /proc/locks, which does
// not disturb the lock the way trying to take it would).
bool lockHeld(const QString &path)
{
    const quint64 inode = inodeOf(path);
    if (inode == 0)
        return false;
    QFile locks(u"/proc/locks"_s);
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray suffix = ':' + QByteArray::number(inode);
    for (const QByteArray &line : locks.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 5 && fields.contains("FLOCK") && fields.at(fields.size() - 3).endsWith(suffix))
            return true;
    }
    return false;
}

// A program directory holding a copy of the program and a catalogue, and a runtime
// folder of its own for the lock.
class ProgramCopy {
public:
    ProgramCopy()
        : m_dir(TestProgramDir::Catalogue::WithCategories)
    {
        QFile::copy(QStringLiteral(QUILLON_BINARY), program());
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        m_env.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
        m_env.insert(u"QT_LOGGING_RULES"_s, u"quillon.instance.info=true"_s);
    }
    QString program() const { return m_dir.path() + u"/quillon"_s; }
    // The instance lock of the catalogue beside the program (or of another one).
    QString lock(const QString &catalogue = QString()) const
    {
        // The name the program gives it with this runtime folder.
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        const QString base = SingleInstance::basePath(catalogue.isEmpty() ? m_dir.catalogue() : catalogue);
        qputenv("XDG_RUNTIME_DIR", saved);
        return base + u".lock"_s;
    }
    const TestProgramDir &dir() const { return m_dir; }
    void start(QProcess &process, const QStringList &arguments = {}) const
    {
        process.setProcessEnvironment(m_env);
        process.start(program(), arguments);
    }

private:
    TestProgramDir m_dir;
    QTemporaryDir m_runtime;
    QProcessEnvironment m_env;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void failedConnectionEndsWithoutCompaction()
    {
        TestProgramDir dir(TestProgramDir::Catalogue::None);
        RecordingErrorPresenter presenter;
        TLCommFunction comm(&presenter);
        TLCommBusiness business(comm);
        ScriptedPrompts prompts;
        QCOMPARE(Startup::run(dir.path(), dir.catalogue(), comm, business, prompts), 1);
        QCOMPARE(presenter.calls.size(), 1);
        QCOMPARE(presenter.calls.first().message, u"连接失败"_s);
        QVERIFY(!QFileInfo::exists(dir.catalogue()));
        QVERIFY(!dir.compactionLeftBehind());
    }

    void secondStartRaisesTheWindowAndSigtermCompacts()
    {
        ProgramCopy copy;
        copy.dir().freeSomePages();
        const quint64 before = inodeOf(copy.dir().catalogue());
        QProcess first;
        copy.start(first);
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(lockHeld(copy.lock()), 20000);

        QProcess second;
        copy.start(second);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardOutput().isEmpty());
        QCOMPARE(first.state(), QProcess::Running);
        // The running window heard the second start.
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += first.readAllStandardError()).contains("a second start asked for this window"),
                                 5000);

        first.terminate(); // SIGTERM
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        // Compaction renamed a fresh copy over the catalogue.
        QVERIFY(inodeOf(copy.dir().catalogue()) != before);
        QVERIFY(!copy.dir().compactionLeftBehind());
    }

    // Another catalogue gets a window of its own beside the running one.
    void anotherCatalogueOpensASecondWindow()
    {
        ProgramCopy copy;
        QProcess first;
        copy.start(first);
        QTRY_VERIFY_WITH_TIMEOUT(lockHeld(copy.lock()), 20000);
        const QString other = copy.dir().path() + u"/other.mdb"_s;
        QVERIFY(QFile::copy(copy.dir().catalogue(), other));
        QProcess second;
        copy.start(second, {u"--catalogue"_s, other});
        QTRY_VERIFY_WITH_TIMEOUT(lockHeld(copy.lock(other)), 20000);
        QCOMPARE(second.state(), QProcess::Running);
        QCOMPARE(first.state(), QProcess::Running);
        for (QProcess *process : {&first, &second}) {
            process->terminate();
            QVERIFY(process->waitForFinished(20000));
            QCOMPARE(process->exitCode(), 0);
        }
    }

    // A start held up by a catalogue that another program uses ends on SIGTERM, leaving
    // the catalogue as it was.
    void sigtermEndsAStartHeldUpByItsCatalogue()
    {
        ProgramCopy copy;
        copy.dir().freeSomePages();
        const quint64 before = inodeOf(copy.dir().catalogue());
        const CatalogueLock other(copy.dir().catalogue());
        QProcess start;
        copy.start(start);
        QTRY_VERIFY_WITH_TIMEOUT(lockHeld(copy.lock()), 20000);
        start.terminate();
        QVERIFY(start.waitForFinished(20000));
        QCOMPARE(start.exitStatus(), QProcess::NormalExit);
        QCOMPARE(start.exitCode(), 1);
        QCOMPARE(inodeOf(copy.dir().catalogue()), before);
    }

    void killedInstanceDoesNotBlockTheNext()
    {
        ProgramCopy copy;
        QProcess first;
        copy.start(first);
        QTRY_VERIFY_WITH_TIMEOUT(lockHeld(copy.lock()), 20000);
        first.kill();
        QVERIFY(first.waitForFinished(20000));

        QProcess next;
        copy.start(next);
        QTRY_VERIFY_WITH_TIMEOUT(lockHeld(copy.lock()), 20000);
        QCOMPARE(next.state(), QProcess::Running);
        ::kill(pid_t(next.processId()), SIGINT);
        QVERIFY(next.waitForFinished(20000));
        QCOMPARE(next.exitStatus(), QProcess::NormalExit);
        QCOMPARE(next.exitCode(), 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
