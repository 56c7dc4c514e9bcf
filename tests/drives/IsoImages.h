#pragma once

// Makes disc images at test time with genisoimage or xorriso.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

class IsoImages {
public:
    IsoImages()
    {
        m_tree = m_dir.filePath(QStringLiteral("tree"));
        QDir().mkpath(m_tree + QStringLiteral("/music"));
        write(QStringLiteral("music/a.mp3"), "abc");
        write(QStringLiteral("readme.txt"), "hello");
        write(QStringLiteral("boot.img"), QByteArray(2048, '\0'));
    }

    static bool has(const QString &tool) { return !QStandardPaths::findExecutable(tool).isEmpty(); }
    static QString missing(const QString &tool)
    {
        return tool + QStringLiteral(" is missing: install it (scripts/setup.sh does)");
    }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        QFile file(m_tree + u'/' + relative);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    // genisoimage with these options over the test tree; the image's path, or empty.
    QString genisoimage(const QString &name, const QStringList &options)
    {
        const QString image = m_dir.filePath(name);
        QStringList args{QStringLiteral("-quiet"), QStringLiteral("-o"), image};
        // Names and labels are UTF-8 unless the test says otherwise.
        if (!options.contains(QStringLiteral("-input-charset")))
            args += QStringList{QStringLiteral("-input-charset"), QStringLiteral("utf-8")};
        return run(QStringLiteral("genisoimage"), args + options + QStringList{m_tree}) ? image : QString();
    }

    QString xorriso(const QString &name, const QString &label)
    {
        const QString image = m_dir.filePath(name);
        const QStringList args{QStringLiteral("-outdev"), image,
                               QStringLiteral("-volid"),  label,
                               QStringLiteral("-joliet"), QStringLiteral("on"),
                               QStringLiteral("-map"),    m_tree,
                               QStringLiteral("/")};
        return run(QStringLiteral("xorriso"), args) ? image : QString();
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString lastError;

private:
    bool run(const QString &program, const QStringList &args)
    {
        QProcess process;
        process.start(program, args);
        const bool ok =
            process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        lastError = QString::fromLocal8Bit(process.readAllStandardError());
        return ok;
    }

    QTemporaryDir m_dir;
    QString m_tree;
};
