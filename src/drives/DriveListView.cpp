#include "DriveListView.h"

#include "CrCdA.h"
#include "DriveUtilities.h"
#include "drives/platform/Platform.h"
#include "store/CataloguedDiscs.h"
#include "ui/ActionGuard.h"

#include <QEvent>
#include <QHeaderView>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
constexpr int kImageRole = Qt::UserRole;
constexpr int kNamesRole = Qt::UserRole + 1;
constexpr int kCataloguedColumn = 3;
constexpr int kEmptyDrive = 4;

QChar upperLetter(char letter)
{
    return QChar(char16_t(letter)).toUpper();
}
} // namespace

TDriveListView::TDriveListView(Prompts &prompts, QWidget *parent)
    : QTreeWidget(parent)
    , m_prompts(prompts)
    , m_animTimer(new QTimer(this))
{
    BuildDriveList();
    m_animTimer->setObjectName(u"AnimTimer"_s);
    m_animTimer->setInterval(500);
    connect(m_animTimer, &QTimer::timeout, this, ActionGuard::wrap(m_prompts, [this] { AnimTick(); }));
    m_animTimer->start();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(QSize(16, 16));
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    setColumnCount(0);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { ActionGuard::run(m_prompts, [&] { rowDoubleClicked(item); }); });
}

TDriveListView::~TDriveListView()
{
    m_animTimer->stop();
}

void TDriveListView::BuildDriveList()
{
    if (!m_cdDrives)
        m_cdDrives = new TCrCdA(this);
    m_driveCodes = m_cdDrives->CdList();
    m_animState = QList<int>(m_driveCodes.size(), 0);
}

void TDriveListView::setSmallImages(const QList<QIcon> &images)
{
    m_images = images;
}

void TDriveListView::Loaded()
{
    FillList();
    connect(
        &Platform::instance(), &Platform::mediaEvent, this,
        [this](const MediaEvent &event) { ActionGuard::run(m_prompts, [&] { DeviceChange(event); }); },
        Qt::QueuedConnection);
}

char TDriveListView::letterOf(const QString &driveCode)
{
    return char(driveCode.toInt());
}

void TDriveListView::FillList()
{
    clear();
    setColumnCount(4);
    retranslateHeader();
    for (int row = 0; row < m_driveCodes.size(); ++row) {
        const char letter = letterOf(m_driveCodes.at(row));
        auto *item = new QTreeWidgetItem(this, {QString(upperLetter(letter)) + u':'});
        item->setData(0, kImageRole, -1);
        readRow(row);
        if (hasSmallImages())
            setRowImage(row, IsDriveReady(letter) ? 0 : kEmptyDrive);
    }
    FitColumns();
}

void TDriveListView::retranslateHeader()
{
    setHeaderLabels({tr("名称"), tr("卷标"), tr("序列号"), tr("索引库中")});
}

void TDriveListView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateHeader();
        RefreshCatalogued(); // several names are joined the language's way
    }
    QTreeWidget::changeEvent(event);
}

int TDriveListView::rowImage(int row) const
{
    const QTreeWidgetItem *item = topLevelItem(row);
    return item ? item->data(0, kImageRole).toInt() : -1;
}

void TDriveListView::setRowImage(int row, int image)
{
    QTreeWidgetItem *item = topLevelItem(row);
    item->setData(0, kImageRole, image);
    item->setIcon(0, image >= 0 && image < m_images.size() ? m_images.at(image) : QIcon());
}

void TDriveListView::readRow(int row)
{
    QTreeWidgetItem *item = topLevelItem(row);
    const char letter = letterOf(m_driveCodes.at(row));
    if (!item->text(0).startsWith(upperLetter(letter), Qt::CaseInsensitive))
        return;
    RDriveInfo info;
    GetDriveInfo(letter, info);
    item->setText(1, info.DiskLabel);
    item->setText(2, info.DiskSerial);
    lookUpRow(row);
}

// The catalogued discs with the row's label and serial number; none for an empty drive.
void TDriveListView::lookUpRow(int row)
{
    QTreeWidgetItem *item = topLevelItem(row);
    const QString serial = item->text(2);
    const QStringList names = m_lookup && !serial.isEmpty() ? m_lookup(item->text(1), serial) : QStringList();
    item->setData(0, kNamesRole, names);
    item->setText(kCataloguedColumn, CataloguedDiscs::joined(names));
}

void TDriveListView::RefreshCatalogued()
{
    for (int row = 0; row < topLevelItemCount(); ++row)
        lookUpRow(row);
}

QStringList TDriveListView::cataloguedNames(int row) const
{
    const QTreeWidgetItem *item = topLevelItem(row);
    return item ? item->data(0, kNamesRole).toStringList() : QStringList();
}

void TDriveListView::rowDoubleClicked(QTreeWidgetItem *item)
{
    const QStringList names = item->data(0, kNamesRole).toStringList();
    if (!names.isEmpty())
        emit catalogedDiscChosen(names.first());
}

QStringList TDriveListView::DriveCodesFromMask(quint32 unitMask)
{
    QStringList codes;
    for (int bit = 0; bit < 26; ++bit)
        if (unitMask & (1u << bit))
            codes.append(QString::number('a' + bit));
    return codes;
}

void TDriveListView::DeviceChange(const MediaEvent &event)
{
    const bool volumeMedia = event.deviceType == MediaEvent::DeviceType::Volume && event.mediaFlag;
    const bool arrival = volumeMedia && event.event == MediaEvent::Kind::Arrival;
    const bool removal = volumeMedia && event.event == MediaEvent::Kind::RemoveComplete;
    if (!arrival && !removal)
        return;
    const QStringList codes = DriveCodesFromMask(event.unitMask);
    if (arrival)
        emit OnCloseCd(this, codes);
    else
        emit OnOpenCd(this, codes);
    for (const QString &code : codes) {
        const int row = int(m_driveCodes.indexOf(code));
        if (row < 0)
            continue;
        m_animState[row] = arrival ? -1 : 1;
        QTreeWidgetItem *item = topLevelItem(row);
        if (removal && item->text(0).startsWith(upperLetter(letterOf(code)), Qt::CaseInsensitive)) {
            item->setText(1, QString());
            item->setText(2, QString());
            lookUpRow(row);
        }
    }
}

void TDriveListView::AnimTick()
{
    if (!hasSmallImages())
        return;
    for (int row = 0; row < m_animState.size(); ++row)
        if (m_animState.at(row) != 0)
            animateRow(row);
}

void TDriveListView::animateRow(int row)
{
    int image = rowImage(row);
    const int state = m_animState.at(row);
    if (state == -1 && image < kEmptyDrive)
        image = kEmptyDrive;
    else if (state == 1 && image >= kEmptyDrive)
        image = 0;
    image = image >= m_images.size() - 1 ? 0 : image + 1;
    setRowImage(row, image);
    if (image != 0 && image != kEmptyDrive)
        return;
    m_animState[row] = 0;
    if (!IsDriveReady(letterOf(m_driveCodes.at(row))))
        setRowImage(row, kEmptyDrive);
    readRow(row);
}

void TDriveListView::FitColumns()
{
    if (columnCount() == 0)
        return;
    const int width = this->width() / columnCount() - 3;
    for (int column = 0; column < columnCount(); ++column)
        header()->resizeSection(column, width);
}

void TDriveListView::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    FitColumns();
}
