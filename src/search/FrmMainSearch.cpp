// The main window's search: the dialog, then the found file records in the file list.
#include "app/FrmMain.h"

#include "FrmSearch.h"
#include "app/ListFeeder.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "ui/SortableListView.h"

#include <QAction>
#include <QHash>
#include <QScopeGuard>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

void TfrmMain::actFindExecute()
{
    setActionAllowed(actFind, false);
    TQuery &query = *m_dm.aqryQuery;
    const QStringList savedLines = query.SQL();
    const QVariantList savedValues = query.Params();
    auto *dialog = new TfrmSearch(query, m_prompts, this);
    const auto restore = qScopeGuard([&] {
        delete dialog;
        query.Close();
        query.SQL() = savedLines;
        query.Params() = savedValues;
        setActionAllowed(actFind, true);
    });
    if (dialog->exec() == QDialog::Accepted)
        ShowQueryResult(query);
}

// The disc names of the tree's disc nodes by code; the first node of a code wins.
static QHash<qint32, QString> discNames(const QTreeWidgetItem *root)
{
    QHash<qint32, QString> names;
    for (int i = 0; i < root->childCount(); ++i) {
        const std::optional<TDiscNode> disc = TfrmMain::discOf(root->child(i));
        if (disc && !names.contains(disc->DiskCode))
            names.insert(disc->DiskCode, disc->DiskName);
    }
    return names;
}

void TfrmMain::ShowQueryResult(TQuery &query)
{
    BusyScope busy(*this);
    lvDetail->rows()->clear();
    const QHash<qint32, QString> names = discNames(rootNode());
    SetStatusText(QString());
    const int n = query.RecordCount();
    SetProgressRange(n, 0);
    if (n == 0)
        return;
    query.DisableControls();
    query.First();
    lvDetail->rows()->reserve(size_t(n));
    ListFeeder feeder(*this, *lvDetail->rows());
    for (int k = 0; !query.Eof();) {
        feeder.add(FileRow{names.value(qint32(query.FieldByName(u"DiskCode"_s).AsInteger())),
                           {query.FieldByName(u"FileName"_s).AsString(), query.FieldByName(u"FileSize"_s).AsString(),
                            query.FieldByName(u"FileData"_s).AsString(), query.FieldByName(u"FilePath"_s).AsString()}});
        query.Next();
        ++k;
        ReportProgress(u"已查到%1条记录"_s.arg(k), k);
        if (StopRequested())
            return;
    }
    feeder.flush();
    query.EnableControls();
    SetProgressRange(0, 0);
    SetStatusText(u"共查到:%1条记录"_s.arg(n));
}
