#pragma once

#include <QIcon>
#include <QList>
#include <QStringList>
#include <QTreeWidget>
#include <functional>

class Prompts;
class QTimer;
class TCrCdA;
struct MediaEvent;

// The machine's CD-ROM drives, one row each with name, volume label, serial number and
// the catalogued discs the disc in the drive is, and an icon that follows a disc leaving or arriving. It listens to the
// platform's media events itself, animates the row, and reads the drive again when the animation ends. Its popup menu's
// commands open and close the trays of the selected drives, or of all.
class TDriveListView : public QTreeWidget {
    Q_OBJECT
public:
    // The names of the catalogued discs with a label and serial number.
    using CatalogueLookup = std::function<QStringList(const QString &label, const QString &serial)>;

    TDriveListView(Prompts &prompts, QWidget *parent = nullptr);
    ~TDriveListView() override;

    // Where the column "索引库中" finds the discs in the drives; without one it stays empty.
    void setCatalogueLookup(CatalogueLookup lookup) { m_lookup = std::move(lookup); }
    // Looks the disc of every row up again (after an import or a delete).
    void RefreshCatalogued();
    // The catalogued names of a row's disc.
    QStringList cataloguedNames(int row) const;

    // The small images of the rows (the 13 animation frames); none by default.
    void setSmallImages(const QList<QIcon> &images);
    bool hasSmallImages() const { return !m_images.isEmpty(); }
    // Makes the columns and rows and starts listening to the platform.
    void Loaded();

    const QStringList &DriveCodes() const { return m_driveCodes; }
    const QList<int> &AnimState() const { return m_animState; }
    // The frame a row shows, -1 for none.
    int rowImage(int row) const;
    QTimer *AnimTimer() const { return m_animTimer; }

    void DeviceChange(const MediaEvent &event);
    void AnimTick();
    void FitColumns();
    static QStringList DriveCodesFromMask(quint32 unitMask);

    // The tray commands of the status list's popup menu.
    void actOpenCdExecute();
    void actCloseCdExecute();
    void actAllOpenExecute();
    void actAllCloseExecute();

signals:
    void OnOpenCd(QObject *sender, const QStringList &driveCodes);
    void OnCloseCd(QObject *sender, const QStringList &driveCodes);
    // A row whose disc is catalogued was double-clicked: the first of its names.
    void catalogedDiscChosen(const QString &discName);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void BuildDriveList();
    void FillList();
    void retranslateHeader();
    void setRowImage(int row, int image);
    void readRow(int row);
    void lookUpRow(int row);
    void rowDoubleClicked(QTreeWidgetItem *item);
    void animateRow(int row);
    static char letterOf(const QString &driveCode);
    void moveSelectedTrays(bool open, const QString &emptyMessage);
    void moveAllTrays(bool open);

    Prompts &m_prompts;
    TCrCdA *m_cdDrives = nullptr;
    QStringList m_driveCodes;
    QList<int> m_animState;
    QTimer *m_animTimer;
    QList<QIcon> m_images;
    CatalogueLookup m_lookup;
};
