#pragma once

// Disc images for the test machine, made at test time in the results folder that host and
// guest share (so the host can put them in the drive) from one tree of files with known
// names, sizes and dates: Chinese names, a name past 64 characters, an empty file, a
// hidden one, a file dated at midnight, directories seven deep.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

class GuestDiscs {
public:
    struct File {
        QString path; // below the disc's root, '/'-separated
        qint64 size;
        QDateTime time;
    };

    GuestDiscs()
        : m_dir(qEnvironmentVariable("QUILLON_RESULTS") + QStringLiteral("/discs-XXXXXX"))
    {
        m_tree = m_dir.filePath(QStringLiteral("tree"));
        for (const File &file : files())
            write(file);
        // Directories are dated after their files are written, deepest first.
        setTime(m_tree + QStringLiteral("/歌曲/Live"), QDateTime(QDate(2021, 5, 4), QTime(3, 2, 1)));
        setTime(m_tree + QStringLiteral("/歌曲"), QDateTime(QDate(2022, 1, 1), QTime(0, 0, 0)));
    }

    static QList<File> files()
    {
        const QString longName = QStringLiteral("a_file_name_well_past_sixty_four_characters_which_only_joliet_long_keeps.txt");
        return {
            {QStringLiteral("歌曲/第一首.mp3"), 4096, QDateTime(QDate(2023, 6, 1), QTime(12, 34, 56))},
            {QStringLiteral("歌曲/Live/现场 录音.wav"), 100, QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))},
            {QStringLiteral("readme.txt"), 5, QDateTime(QDate(2024, 2, 29), QTime(0, 0, 0))},
            {QStringLiteral("empty.dat"), 0, QDateTime(QDate(2010, 7, 15), QTime(8, 0, 30))},
            {QStringLiteral("secret.txt"), 7, QDateTime(QDate(2015, 3, 3), QTime(16, 45, 0))},
            {longName, 70000, QDateTime(QDate(2020, 10, 10), QTime(10, 10, 10))},
            {QStringLiteral("a/b/c/d/e/f/deep.txt"), 12, QDateTime(QDate(2005, 8, 8), QTime(20, 8, 0))},
        };
    }

    bool isValid() const { return m_dir.isValid(); }
    QString lastError() const { return m_error; }

    // genisoimage over the tree, with the secret file hidden; the image, or empty.
    QString genisoimage(const QString &name, const QStringList &options)
    {
        const QString image = m_dir.filePath(name);
        const QStringList args = QStringList{QStringLiteral("-quiet"), QStringLiteral("-input-charset"),
                                             QStringLiteral("utf-8"), QStringLiteral("-hidden"),
                                             QStringLiteral("secret.txt"), QStringLiteral("-o"), image} +
                                 options + QStringList{m_tree};
        return run(QStringLiteral("genisoimage"), args) ? image : QString();
    }

    // A disc with UDF alone and the tree's files on it: made empty by mkudffs, then filled
    // through a loop mount of the guest's own kernel.
    QString udfOnly(const QString &name, const QString &label)
    {
        const QString image = m_dir.filePath(name);
        const QString mountPoint = m_dir.filePath(name + QStringLiteral(".mnt"));
        QDir().mkpath(mountPoint);
        const bool made =
            run(QStringLiteral("mkudffs"), {QStringLiteral("--media-type=hd"), QStringLiteral("--blocksize=2048"),
                                            QStringLiteral("--label=") + label, image, QStringLiteral("1024")}) &&
            run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("udf"), QStringLiteral("-o"),
                                          QStringLiteral("loop"), image, mountPoint}) &&
            run(QStringLiteral("cp"), {QStringLiteral("-a"), m_tree + QStringLiteral("/."), mountPoint}) &&
            run(QStringLiteral("umount"), {mountPoint});
        return made ? image : QString();
    }

    // One of the tree's files written again with other bytes, of the same size and time: only
    // its content tells the images made before and after apart.
    void alter(const QString &path)
    {
        for (const File &file : files())
            if (file.path == path)
                write(file, 'Q');
    }

private:
    void write(const File &file, char fill = 'q')
    {
        const QString path = m_tree + u'/' + file.path;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(QByteArray(file.size, fill));
        out.close();
        setTime(path, file.time);
    }

    static void setTime(const QString &path, const QDateTime &time)
    {
        const timespec times[2] = {{time.toSecsSinceEpoch(), 0}, {time.toSecsSinceEpoch(), 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    }

    bool run(const QString &program, const QStringList &args)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, args);
        const bool ok =
            process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!ok)
            m_error = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll());
        return ok;
    }

    QTemporaryDir m_dir;
    QString m_tree;
    QString m_error;
};
