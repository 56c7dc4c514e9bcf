#pragma once

#include <QObject>
#include <QStringList>

// The CD-ROM drives of the machine, found once when the object is made: the drive codes
// (decimal character code of the lower-case letter, "101" for e) of the letters c to z
// whose drive type is CD-ROM, ascending, with or without a disc.
class TCrCdA : public QObject {
    Q_OBJECT
public:
    explicit TCrCdA(QObject *owner = nullptr);

    const QStringList &CdList() const { return m_cdList; }
    int CdCount() const { return m_cdCount; }

private:
    void FindCdDrives();

    QStringList m_cdList;
    int m_cdCount = 0;
};
