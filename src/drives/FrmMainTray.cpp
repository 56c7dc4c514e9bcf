// The main window's tray commands on the drive status list.
#include "app/FrmMain.h"

#include "DriveListView.h"
#include "DriveUtilities.h"
#include "ui/Prompts.h"

using namespace Qt::StringLiterals;

// Sends a door command for each selected row, from the top, and deselects the row.
void TfrmMain::moveSelectedTrays(bool open, const QString &emptyMessage)
{
    QList<QTreeWidgetItem *> selected = dlvStatus->selectedItems();
    if (selected.isEmpty()) {
        m_prompts.message(emptyMessage);
        return;
    }
    for (int row = 0; row < dlvStatus->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = dlvStatus->topLevelItem(row);
        if (!item->isSelected())
            continue;
        if (open)
            OpenCdDoor(item->text(0));
        else
            CloseCdDoor(item->text(0));
        item->setSelected(false);
    }
}

void TfrmMain::moveAllTrays(bool open)
{
    for (int row = 0; row < dlvStatus->topLevelItemCount(); ++row) {
        const QString drive = dlvStatus->topLevelItem(row)->text(0);
        if (open)
            OpenCdDoor(drive);
        else
            CloseCdDoor(drive);
    }
}

void TfrmMain::actOpenCdExecute()
{
    moveSelectedTrays(true, u"请选择弹出关闭的光驱!"_s);
}

void TfrmMain::actCloseCdExecute()
{
    moveSelectedTrays(false, u"请选择需要关闭的光驱"_s);
}

void TfrmMain::actAllOpenExecute()
{
    moveAllTrays(true);
}

void TfrmMain::actAllCloseExecute()
{
    moveAllTrays(false);
}
