#pragma once

#include <QObject>
#include <QString>

class QTimer;

// Stands for one drive: keeps what the drive's volume says (read again whenever Drive
// changes) and, when asked, polls the volume's serial number every CheckPeriod ms to
// notice a disc being taken out or put in.
class TDiskCaps : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString DiskLabel READ DiskLabel WRITE setDiskLabel)
    Q_PROPERTY(QString DiskSerial READ DiskSerial WRITE setDiskSerial)
    Q_PROPERTY(qint32 ComponentLen READ ComponentLen WRITE setComponentLen)
    Q_PROPERTY(QString FileSystem READ FileSystem WRITE setFileSystem)
    Q_PROPERTY(qint32 DriveType READ DriveType WRITE setDriveType)
    Q_PROPERTY(char Drive READ Drive WRITE setDrive)
    Q_PROPERTY(quint32 DriveFlags READ DriveFlags WRITE setDriveFlags)
    Q_PROPERTY(bool CheckSNChange READ CheckSNChange WRITE setCheckSNChange)
    Q_PROPERTY(qint32 CheckPeriod READ CheckPeriod WRITE setCheckPeriod)
public:
    // Stands for drive C and reads it at once; no polling.
    explicit TDiskCaps(QObject *owner = nullptr);
    ~TDiskCaps() override;

    QString DiskLabel() const { return m_diskLabel; }
    QString DiskSerial() const { return m_diskSerial; }
    qint32 ComponentLen() const { return m_componentLen; }
    QString FileSystem() const { return m_fileSystem; }
    qint32 DriveType() const { return m_driveType; }
    char Drive() const { return m_drive; }
    quint32 DriveFlags() const { return m_driveFlags; }
    bool CheckSNChange() const { return m_checkSNChange; }
    qint32 CheckPeriod() const { return m_checkPeriod; }

    // Writing a reading keeps the value only until the next reading.
    void setDiskLabel(const QString &value) { m_diskLabel = value; }
    void setDiskSerial(const QString &value) { m_diskSerial = value; }
    void setComponentLen(qint32 value) { m_componentLen = value; }
    void setFileSystem(const QString &value) { m_fileSystem = value; }
    void setDriveType(qint32 value) { m_driveType = value; }
    void setDriveFlags(quint32 value) { m_driveFlags = value; }

    // Reads the new drive, stops any polling, then signals OnDriveChanged.
    void setDrive(char value);
    // Polling starts only for a removable or CD-ROM drive while CheckPeriod is positive;
    // otherwise the value falls back to false.
    void setCheckSNChange(bool value);
    // 0 or less stops the ticks while CheckSNChange stays true; a positive value starts
    // them again, against the serial number seen before.
    void setCheckPeriod(qint32 value);

signals:
    void OnDriveChanged(QObject *sender);
    void OnSNChanged(QObject *sender);

private slots:
    void CheckSerial();

private:
    void Refresh();
    void startCheckTimer(qint32 period);
    void stopCheckTimer();

    QString m_diskLabel;
    QString m_diskSerial;
    qint32 m_componentLen = 0;
    QString m_fileSystem;
    qint32 m_driveType = 0;
    char m_drive = 'C';
    quint32 m_driveFlags = 0;
    bool m_checkSNChange = false;
    qint32 m_checkPeriod = 2000;
    QString m_lastSerial;
    QTimer *m_checkTimer = nullptr;
};
