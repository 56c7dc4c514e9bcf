// An import killed at any moment — while it scans, writes, commits or compacts — leaves a
// sound catalogue that holds the whole disc or nothing of it, and the next run works and
// compacts again. QUILLON_KILLS sets the number of kills (10 by default).
#include "TestProgramDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFolders = 40;
constexpr int kFilesPerFolder = 100;
constexpr int kFiles = kFolders * kFilesPerFolder;

// Where a kill is aimed: the step to wait for, and the longest wait after it (ms).
struct Aim {
    QByteArray step;
    int maxDelayMs;
};
const Aim kAims[] = {{"scan", 40}, {"write", 40}, {"commit", 3}, {"compact copy", 40}};

quint64 inodeOf(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

// What the catalogue holds after a run.
struct Catalogue {
    QString integrity;
    QHash<QString, int> filesByDisc;
    int orphans = -1;
};

// Opened for writing, as the program would: a journal a kill left behind is rolled back
// on opening.
Catalogue inspect(const QString &path)
{
    Catalogue result;
    const QString name = u"inspect"_s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        if (!db.open())
            result.integrity = db.lastError().text();
        else {
            QSqlQuery q(db);
            if (q.exec(u"PRAGMA integrity_check"_s) && q.next())
                result.integrity = q.value(0).toString();
            else
                result.integrity = q.lastError().text();
            q.exec(u"select m.DiskName, (select count(*) from CdRomListDt d where d.DiskCode = m.DiskCode)"
                   " from CdRomListMt m"_s);
            while (q.next())
                result.filesByDisc.insert(q.value(0).toString(), q.value(1).toInt());
            if (q.exec(
                    u"select count(*) from CdRomListDt where DiskCode not in (select DiskCode from CdRomListMt)"_s) &&
                q.next())
                result.orphans = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

class TestImportKill : public QObject {
    Q_OBJECT

    TestProgramDir m_dir;
    QTemporaryDir m_folder;

    void startImport(QProcess &child, const QString &disc)
    {
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(IMPORT_CHILD), {m_dir.path(), m_folder.path(), disc});
        QVERIFY(child.waitForStarted());
    }

    // Reads the child's steps until the one aimed at has begun; false when it ended first.
    static bool waitForStep(QProcess &child, const QByteArray &step, QByteArray &last)
    {
        for (;;) {
            while (child.canReadLine()) {
                last = child.readLine().trimmed();
                if (last == step)
                    return true;
            }
            if (child.state() == QProcess::NotRunning || !child.waitForReadyRead(30000))
                return false;
        }
    }

    // The whole catalogue is sound, and every disc has all its files.
    static void checkSound(const Catalogue &catalogue)
    {
        QCOMPARE(catalogue.integrity, u"ok"_s);
        QCOMPARE(catalogue.orphans, 0);
        for (auto it = catalogue.filesByDisc.cbegin(); it != catalogue.filesByDisc.cend(); ++it)
            QVERIFY2(it.value() == kFiles, qPrintable(u"%1 holds %2 files"_s.arg(it.key()).arg(it.value())));
    }

private slots:
    void initTestCase()
    {
        for (int f = 0; f < kFolders; ++f) {
            const QString folder = m_folder.filePath(u"folder %1"_s.arg(f));
            QVERIFY(QDir().mkpath(folder));
            for (int i = 0; i < kFilesPerFolder; ++i) {
                QFile file(folder + u"/歌曲 %1.mp3"_s.arg(i));
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
    }

    void killsLeaveWholeDiscsOrNone()
    {
        const int kills =
            qEnvironmentVariableIsSet("QUILLON_KILLS") ? qEnvironmentVariableIntValue("QUILLON_KILLS") : 10;
        QRandomGenerator random(quint32(QDateTime::currentMSecsSinceEpoch()));
        int killed = 0, finished = 0, complete = 0, absent = 0;
        QMap<QByteArray, int> lastSteps;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kills; ++i) {
            const Aim &aim = kAims[i % std::size(kAims)];
            const QString disc = u"disc %1"_s.arg(i);
            QProcess child;
            startImport(child, disc);
            QByteArray last;
            if (waitForStep(child, aim.step, last)) {
                QThread::usleep(random.bounded(aim.maxDelayMs * 1000 + 1));
                ::kill(pid_t(child.processId()), SIGKILL);
            }
            QVERIFY(child.waitForFinished(60000));
            while (child.canReadLine())
                last = child.readLine().trimmed();
            if (child.exitStatus() == QProcess::CrashExit) {
                ++killed;
                ++lastSteps[last];
            } else {
                QCOMPARE(child.exitCode(), 0);
                ++finished;
            }
            const Catalogue after = inspect(m_dir.catalogue());
            checkSound(after);
            if (QTest::currentTestFailed())
                return;
            ++(after.filesByDisc.contains(disc) ? complete : absent);
        }
        qInfo().noquote() << u"%1 kills (%2 runs ended first): %3 discs complete, %4 absent, integrity ok; %5 s"_s
                                 .arg(killed)
                                 .arg(finished)
                                 .arg(complete)
                                 .arg(absent)
                                 .arg(clock.elapsed() / 1000.0, 0, 'f', 1);
        for (auto it = lastSteps.cbegin(); it != lastSteps.cend(); ++it)
            qInfo().noquote() << u"  killed after \"%1\": %2"_s.arg(QString::fromLatin1(it.key())).arg(it.value());
        QVERIFY(killed > 0);

        // The next run imports and compacts, whatever copy a killed compaction left.
        const quint64 before = inodeOf(m_dir.catalogue());
        QProcess next;
        startImport(next, u"after the kills"_s);
        QVERIFY(next.waitForFinished(60000));
        QCOMPARE(next.exitStatus(), QProcess::NormalExit);
        QCOMPARE(next.exitCode(), 0);
        QVERIFY(next.readAllStandardOutput().contains("compact replace"));
        QVERIFY(inodeOf(m_dir.catalogue()) != before);
        QVERIFY(!m_dir.compactionLeftBehind());
        const Catalogue last = inspect(m_dir.catalogue());
        checkSound(last);
        QCOMPARE(last.filesByDisc.value(u"after the kills"_s), kFiles);
    }
};

QTEST_GUILESS_MAIN(TestImportKill)
#include "tst_importkill.moc"
