#pragma once

#include <QString>
#include <QStringList>

// The folder of one compaction: made beside the catalogue with mkdtemp, mode 0700, named
// after the catalogue (".dbQL.mdb.compact-XXXXXX"), so that no other program or user can
// plant, redirect or take its copy, and two catalogues in one folder never meet. It holds
// the copy (TempdbQL.mdb) until the copy is renamed over the catalogue; whatever is left in
// it goes with the folder when the object ends.
class CompactionFolder {
public:
    // Throws DbError when the folder cannot be made (a folder the user may not write).
    explicit CompactionFolder(const QString &catalogueFile);
    ~CompactionFolder();
    CompactionFolder(const CompactionFolder &) = delete;
    CompactionFolder &operator=(const CompactionFolder &) = delete;

    QString copyFile() const;

    // The folders that compactions of this catalogue left behind (killed): real folders of
    // this user only, never a link.
    static QStringList leftovers(const QString &catalogueFile);
    // Removes them; only while the catalogue's lock is held, since otherwise one of them may
    // be another program's compaction under way.
    static void removeLeftovers(const QString &catalogueFile);

private:
    static void removeFolder(const QString &folder);

    QString m_folder;
};
