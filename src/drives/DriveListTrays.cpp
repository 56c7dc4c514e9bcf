// The tray commands of the drive status list: the selected drives' trays, or all of them.
#include "DriveListView.h"

#include "DriveUtilities.h"
#include "ui/Prompts.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

// Sends a door command for each selected row, from the top, and deselects the row.
void TDriveListView::moveSelectedTrays(bool open, const QString &emptyMessage)
{
    if (selectedItems().isEmpty()) {
        m_prompts.message(emptyMessage);
        return;
    }
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = topLevelItem(row);
        if (!item->isSelected())
            continue;
        if (open)
            OpenCdDoor(item->text(0));
        else
            CloseCdDoor(item->text(0));
        item->setSelected(false);
    }
}

void TDriveListView::moveAllTrays(bool open)
{
    for (int row = 0; row < topLevelItemCount(); ++row) {
        const QString drive = topLevelItem(row)->text(0);
        if (open)
            OpenCdDoor(drive);
        else
            CloseCdDoor(drive);
    }
}

void TDriveListView::actOpenCdExecute()
{
    moveSelectedTrays(true, QCoreApplication::translate("TDriveListView", "请选择弹出关闭的光驱!"));
}

void TDriveListView::actCloseCdExecute()
{
    moveSelectedTrays(false, QCoreApplication::translate("TDriveListView", "请选择需要关闭的光驱"));
}

void TDriveListView::actAllOpenExecute()
{
    moveAllTrays(true);
}

void TDriveListView::actAllCloseExecute()
{
    moveAllTrays(false);
}
