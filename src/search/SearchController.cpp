#include "SearchController.h"

#include "FrmSearch.h"
#include "store/Catalogue.h"
#include "store/DmQL.h"
#include "store/FileRowModel.h"
#include "ui/ActionStates.h"
#include "ui/KeyReadProgress.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

SearchController::SearchController(TdmQL &dm, Prompts &prompts, StatusProgress &progress, ActionStates &states,
                                   TSortableListView &list, QAction &actFind, DiscNames discNames, QWidget *window,
                                   QWidget *listPanel)
    : QObject(window)
    , m_dm(dm)
    , m_prompts(prompts)
    , m_progress(progress)
    , m_states(states)
    , m_list(list)
    , m_actFind(actFind)
    , m_discNames(std::move(discNames))
    , m_window(window)
    , m_listPanel(listPanel)
{
}

void SearchController::actFindExecute()
{
    m_states.setAllowed(&m_actFind, false);
    TQuery &query = *m_dm.aqryQuery;
    const QStringList savedLines = query.SQL();
    const QVariantList savedValues = query.Params();
    auto *dialog = new TfrmSearch(query, m_dm.catalogue(), m_prompts, m_window);
    const auto restore = qScopeGuard([&] {
        delete dialog;
        query.Close();
        query.SQL() = savedLines;
        query.Params() = savedValues;
        m_states.setAllowed(&m_actFind, true);
    });
    // A search the engine refused lists nothing: the list ends up empty.
    connect(dialog, &TfrmSearch::searchFailed, this, &SearchController::emptyList);
    if (dialog->exec() == QDialog::Accepted)
        ShowQueryResult(query);
}

void SearchController::emptyList()
{
    m_list.rows()->clear();
    m_list.rows()->clearSortMarks(-1);
    m_progress.SetStatusText(QString());
}

void SearchController::ShowQueryResult(TQuery &query)
{
    ActionStates::BusyScope busy(m_states);
    m_listPanel->setEnabled(false);
    const auto enable = qScopeGuard([this] { m_listPanel->setEnabled(true); });
    listHits(query);
}

void SearchController::listHits(TQuery &query)
{
    FileRowModel &rows = *m_list.rows();
    rows.clear();
    // The hits come in the catalogue's order, whatever the list was sorted by before.
    rows.clearSortMarks(-1);
    m_progress.SetStatusText(QString());
    KeyReadProgress reading(m_progress, tr("已查到%1条记录"));
    std::vector<qint64> keys = m_dm.catalogue().hitKeys(query, reading.going());
    query.Close();
    if (reading.stopped())
        return;
    const qsizetype n = qsizetype(keys.size());
    rows.showKeys(m_dm.catalogue(), m_discNames(), std::move(keys));
    rows.setTitle(tr("查询结果"));
    m_progress.SetProgressRange(0, 0);
    // No hits says so too, rather than leaving the line blank.
    m_progress.SetStatusText(tr("共查到:%1条记录").arg(n));
}
