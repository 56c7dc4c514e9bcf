#pragma once

#include "store/DmQL.h"
#include "store/LCommFunction.h"

#include <QString>
#include <QStringList>

// Writes discs and file records into a test catalogue through the store.
class CatalogueFixture {
public:
    CatalogueFixture(TdmQL &dm, TLCommFunction &comm) : m_dm(dm), m_comm(comm) {}

    // Returns the new disc's code, or -1.
    int addDisc(const QString &name, const QString &label = QStringLiteral("LABEL"),
                const QString &serial = QStringLiteral("1234ABCD"))
    {
        if (!m_comm.ExecSql(*m_dm.aqryTempFind,
                            QStringLiteral("Insert Into CdRomListMt (DiskName, DiskLabel, DiskSerial) values (?, ?, ?)"),
                            {name, label, serial}))
            return -1;
        if (m_comm.OpenSql(*m_dm.aqryTempFind, QStringLiteral("Select DiskCode From CdRomListMt Where DiskName = ?"),
                           {name})
            <= 0)
            return -1;
        return int(m_dm.aqryTempFind->FieldByName(QStringLiteral("DiskCode")).AsInteger());
    }

    bool addFile(int disc, const QString &name, const QString &size = QStringLiteral("1024"),
                 const QString &date = QStringLiteral("2024-05-01 12:30:00"),
                 const QString &path = QStringLiteral("\\music\\"))
    {
        return m_comm.ExecSql(
            *m_dm.aqryTempFind,
            QStringLiteral("Insert Into CdRomListDt (DiskCode, FileName, FileSize, FileData, FilePath) values (?, ?, ?, ?, ?)"),
            {disc, name, size, date, path});
    }

    // n files named prefix0.mp3 … in one transaction.
    bool addFiles(int disc, int n, const QString &prefix = QStringLiteral("file"))
    {
        m_dm.aConQl.BeginTrans();
        for (int i = 0; i < n; ++i)
            if (!addFile(disc, prefix + QString::number(i) + QStringLiteral(".mp3"))) {
                m_dm.aConQl.RollbackTrans();
                return false;
            }
        m_dm.aConQl.CommitTrans();
        return true;
    }

    int fileCount(int disc)
    {
        return m_comm.OpenSql(*m_dm.aqryTempFind, QStringLiteral("select FileName from CdRomListDt where DiskCode = ?"),
                              {disc});
    }

private:
    TdmQL &m_dm;
    TLCommFunction &m_comm;
};
