// The main window's imports: the dialog scans a disc or folder and inserts the disc
// record, then the window stores the listed files and adds the disc to its tree.
#include "app/FrmMain.h"

#include "CatalogueWriter.h"
#include "categories/ExtEdition.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "store/LCommFunction.h"

#include <QCollator>
#include <QFrame>
#include <QScopeGuard>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

void TfrmMain::actCDimpExecute()
{
    runImport(2);
}

void TfrmMain::actDriverImpExecute()
{
    runImport(3);
}

void TfrmMain::runImport(int mode)
{
    BusyScope busy(*this);
    auto *dialog = new TfrmExtEdition(m_dm, m_commFunction, m_prompts, this);
    const auto closing = qScopeGuard([this, dialog] {
        setEnabled(true);
        delete dialog;
    });
    dialog->SetMode(mode);
    if (dialog->exec() != QDialog::Accepted)
        return;
    dialog->hide();
    setEnabled(false);
    const QString name = dialog->GetDiscName();
    StoreDiscFiles(*dialog->rows(), name);
    if (m_commFunction.OpenSql(*m_dm.aqryTempFind,
                               u"select DiskCode, DiskLabel, DiskName, DiskSerial from CdRomListMt  where DiskName = ?"_s,
                               {name})
        > 0)
        AddDiscNode(*m_dm.aqryTempFind, rootNode());
    sortDiscNodes();
    ReopenDiscList();
}

// Stores the rows under the disc's code in one transaction, with the tree and the list
// disabled while it runs.
void TfrmMain::StoreDiscFiles(const FileRowModel &rows, const QString &discName)
{
    Panel3->setEnabled(false);
    const auto enable = qScopeGuard([this] { Panel3->setEnabled(true); });
    CatalogueWriter::StoreDiscFiles(m_dm, m_commFunction, rows, discName, *this);
}

// The disc nodes in the order a rebuild of the tree gives them: by name in the user's
// locale, letter case ignored.
void TfrmMain::sortDiscNodes()
{
    QTreeWidgetItem *root = rootNode();
    QList<QTreeWidgetItem *> nodes = root->takeChildren();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(nodes.begin(), nodes.end(), [&](const QTreeWidgetItem *a, const QTreeWidgetItem *b) {
        return collator.compare(a->text(0), b->text(0)) < 0;
    });
    root->addChildren(nodes);
}
