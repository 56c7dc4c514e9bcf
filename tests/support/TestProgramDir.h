#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary program directory, its path holding blanks and Chinese characters, with
// data/dbQL.mdb written by the same code as quillon-mkdb.
class TestProgramDir {
public:
    enum class Catalogue { None, Empty, WithCategories };
    explicit TestProgramDir(Catalogue catalogue = Catalogue::Empty);

    bool isValid() const { return m_tmp.isValid(); }
    QString path() const { return m_path; }
    QString dataDir() const { return m_path + QStringLiteral("/data"); }
    QString catalogue() const { return dataDir() + QStringLiteral("/dbQL.mdb"); }
    // True when a compaction left its folder (or a copy at the old fixed name) beside the catalogue.
    bool compactionLeftBehind() const;
    // Grows the catalogue (or another file) and frees what it grew by, so that the
    // program's exit finds space worth compacting away.
    void freeSomePages(const QString &file = QString()) const;

private:
    QTemporaryDir m_tmp;
    QString m_path;
};

// The whole content of a file, or an empty array when it cannot be read.
QByteArray fileBytes(const QString &path);
