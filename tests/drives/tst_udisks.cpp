// Mounting and unmounting discs through udisks2 over Qt D-Bus, against a stand-in udisks
// service on a private message bus (a dbus-daemon of the test's own, not the system bus).
#include "OpticalFakes.h"
#include "drives/platform/linux/DeviceOpticalDrive.h"
#include "drives/platform/linux/SystemMountService.h"
#include "drives/platform/linux/UdisksClient.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {
const QString kService = u"org.freedesktop.UDisks2"_s;
const QString kSr0 = u"/org/freedesktop/UDisks2/block_devices/sr0"_s;

// What the stand-in service was asked and how it answers; shared between threads.
struct Script {
    QMutex mutex;
    QStringList calls;
    QString mountError; // empty: Mount answers the mount point
    QString unmountError;
    bool hang = false;        // Mount never answers
    int interactiveCalls = 0; // calls that would let polkit ask for a password

    void record(const QString &call, const QVariantMap &options)
    {
        QMutexLocker lock(&mutex);
        calls.append(call);
        if (!options.value(u"auth.no_user_interaction"_s).toBool())
            ++interactiveCalls;
    }
    void setHang(bool value)
    {
        QMutexLocker lock(&mutex);
        hang = value;
    }
    bool hangs()
    {
        QMutexLocker lock(&mutex);
        return hang;
    }
    void set(QString Script::*which, const QString &value)
    {
        QMutexLocker lock(&mutex);
        this->*which = value;
    }
    QString error(QString Script::*which)
    {
        QMutexLocker lock(&mutex);
        return this->*which;
    }
    QStringList takeCalls()
    {
        QMutexLocker lock(&mutex);
        return std::exchange(calls, {});
    }
};
} // namespace

class FakeUdisksManager : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.UDisks2.Manager")
public:
    explicit FakeUdisksManager(Script &script)
        : m_script(script)
    {
    }

public slots:
    QList<QDBusObjectPath> ResolveDevice(const QVariantMap &devspec, const QVariantMap &options)
    {
        const QString path = devspec.value(u"path"_s).toString();
        m_script.record(u"ResolveDevice "_s + path, options);
        if (path == u"/dev/sr0"_s)
            return {QDBusObjectPath(kSr0)};
        return {};
    }

private:
    Script &m_script;
};

class FakeUdisksFilesystem : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.UDisks2.Filesystem")
public:
    explicit FakeUdisksFilesystem(Script &script)
        : m_script(script)
    {
    }

public slots:
    QString Mount(const QVariantMap &options)
    {
        m_script.record(u"Mount"_s, options);
        if (m_script.hangs()) {
            setDelayedReply(true); // and never answer
            return {};
        }
        const QString error = m_script.error(&Script::mountError);
        if (!error.isEmpty())
            sendErrorReply(error, u"refused"_s);
        return u"/media/u/DISC"_s;
    }
    void Unmount(const QVariantMap &options)
    {
        m_script.record(u"Unmount"_s, options);
        const QString error = m_script.error(&Script::unmountError);
        if (!error.isEmpty())
            sendErrorReply(error, u"target is busy"_s);
    }

private:
    Script &m_script;
};

class TestUdisks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is missing: install it (scripts/setup.sh does)");
        m_bus.start(daemon,
                    {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s, u"--address=unix:dir="_s + m_dir.path()});
        QVERIFY(m_bus.waitForStarted());
        while (!m_bus.canReadLine())
            QVERIFY2(m_bus.waitForReadyRead(10000), "dbus-daemon gave no address");
        m_address = QString::fromUtf8(m_bus.readLine().trimmed());

        // The service answers from a thread of its own, as udisks would from its process.
        m_service.start();
        QDBusConnection service = QDBusConnection::connectToBus(m_address, u"udisks"_s);
        QVERIFY(service.isConnected());
        m_manager = new FakeUdisksManager(m_script);
        m_filesystem = new FakeUdisksFilesystem(m_script);
        m_manager->moveToThread(&m_service);
        m_filesystem->moveToThread(&m_service);
        QVERIFY(
            service.registerObject(u"/org/freedesktop/UDisks2/Manager"_s, m_manager, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerObject(kSr0, m_filesystem, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(kService));
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(u"udisks"_s);
        QDBusConnection::disconnectFromBus(u"client"_s);
        m_service.quit();
        m_service.wait();
        delete m_manager;
        delete m_filesystem;
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void mountsAndUnmounts()
    {
        UdisksClient udisks(client());
        QCOMPARE(udisks.mount(u"/dev/sr0"_s), u"/media/u/DISC"_s);
        QCOMPARE(m_script.takeCalls(), (QStringList{u"ResolveDevice /dev/sr0"_s, u"Mount"_s}));
        QVERIFY(udisks.unmount(u"/dev/sr0"_s));
        QCOMPARE(m_script.takeCalls(), (QStringList{u"ResolveDevice /dev/sr0"_s, u"Unmount"_s}));
    }

    void refusalsAreFailures()
    {
        UdisksClient udisks(client());
        m_script.set(&Script::mountError, u"org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain"_s);
        m_script.set(&Script::unmountError, u"org.freedesktop.UDisks2.Error.DeviceBusy"_s);
        QVERIFY(!udisks.mount(u"/dev/sr0"_s));
        QVERIFY(!udisks.unmount(u"/dev/sr0"_s));
        m_script.set(&Script::mountError, {});
        m_script.set(&Script::unmountError, {});
        m_script.takeCalls();

        // A device udisks does not know is neither mounted nor unmounted.
        QVERIFY(!udisks.mount(u"/dev/sr5"_s));
        QVERIFY(!udisks.unmount(u"/dev/sr5"_s));
        QCOMPARE(m_script.takeCalls(), (QStringList{u"ResolveDevice /dev/sr5"_s, u"ResolveDevice /dev/sr5"_s}));
    }

    // No call may ask for a password, and one that gets no answer fails after the
    // client's short time-out (the bus's own is 25 seconds) while events keep running.
    void noPromptsAndNoLongWaits()
    {
        UdisksClient udisks(client(), 300);
        m_script.set(&Script::mountError, {});
        m_script.setHang(true);
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
        timer.start(20);
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!udisks.mount(u"/dev/sr0"_s));
        QVERIFY(waited.elapsed() < 20000);
        QVERIFY(ticks > 0);
        m_script.setHang(false);
        QVERIFY(udisks.unmount(u"/dev/sr0"_s));
        QCOMPARE(m_script.interactiveCalls, 0);
        m_script.takeCalls();
    }

    void ejectUnmountsAMountedDiscFirst()
    {
        QTemporaryDir dir;
        QFile table(dir.filePath(u"mountinfo"_s));
        QVERIFY(table.open(QIODevice::WriteOnly));
        table.write("40 22 11:0 / /media/u/DISC ro - iso9660 /dev/sr0 ro\n");
        table.close();
        auto mounts = std::make_shared<SystemMountService>(table.fileName(), UdisksClient(client()));
        auto control = std::make_shared<FakeDriveControl>();
        control->setStatus(u"/dev/sr0"_s, DriveStatus::DiscOk);
        DeviceOpticalDrive drive(OpticalDevice{u"/dev/sr0"_s, u"sr0"_s, makedev(11, 0), {}}, control, mounts);

        m_script.set(&Script::unmountError, u"org.freedesktop.UDisks2.Error.DeviceBusy"_s);
        QVERIFY(!drive.eject()); // a file on the disc is open: the tray stays shut
        QVERIFY(control->requests.isEmpty());
        m_script.set(&Script::unmountError, {});
        m_script.takeCalls();
        QVERIFY(drive.eject());
        QCOMPARE(m_script.takeCalls(), (QStringList{u"ResolveDevice /dev/sr0"_s, u"Unmount"_s}));
        QCOMPARE(control->requests, QStringList{u"eject /dev/sr0"_s});
    }

private:
    QDBusConnection client() { return QDBusConnection::connectToBus(m_address, u"client"_s); }

    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_address;
    QThread m_service;
    Script m_script;
    FakeUdisksManager *m_manager = nullptr;
    FakeUdisksFilesystem *m_filesystem = nullptr;
};

QTEST_GUILESS_MAIN(TestUdisks)
#include "tst_udisks.moc"
