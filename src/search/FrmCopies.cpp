#include "FrmCopies.h"

#include "store/Copies.h"
#include "store/FileRowModel.h"
#include "ui/SortableListView.h"
#include "ui/StatusProgress.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopeGuard>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

TSortableListView *listView(QTabWidget *tabs, const QString &name, const QList<int> &widths)
{
    auto *view = new TSortableListView(tabs);
    view->setObjectName(name);
    view->setColumns(QStringList(int(widths.size()), QString()), widths);
    tabs->addTab(view, QString());
    return view;
}

// Rows handed to a list in parts, with the events let run between them.
class RowBatches {
public:
    explicit RowBatches(FileRowModel &rows) : m_rows(rows) {}
    ~RowBatches() { flush(); }
    void add(FileRow &&row)
    {
        m_pending.push_back(std::move(row));
        if (m_pending.size() >= 5000)
            flush();
    }

private:
    void flush()
    {
        m_rows.appendRows(std::move(m_pending));
        m_pending.clear();
        QCoreApplication::processEvents();
    }
    FileRowModel &m_rows;
    std::vector<FileRow> m_pending;
};

QString percent(qint64 part, qint64 whole)
{
    return whole > 0 ? QString::number(100.0 * double(part) / double(whole), 'f', 1) + u'%' : u"-"_s;
}

} // namespace

TfrmCopies::TfrmCopies(const QString &connectionName, std::optional<Disc> disc, QWidget *parent)
    : TfrmRoot<QDialog>(parent)
    , m_connectionName(connectionName)
    , m_disc(std::move(disc))
{
    setObjectName(u"frmCopies"_s);
    resize(760, 480);
    pcCopies = new QTabWidget(this);
    pcCopies->setObjectName(u"pcCopies"_s);
    lvShares = listView(pcCopies, u"lvShares"_s, {180, 90, 110, 110, 80});
    lvSingle = listView(pcCopies, u"lvSingle"_s, {120, 180, 90, 140, 200});
    lvDuplicates = listView(pcCopies, u"lvDuplicates"_s, {180, 90, 140, 200, 150});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pcCopies);
    retranslateUi();
}

void TfrmCopies::retranslateUi()
{
    setWindowTitle(m_disc ? tr("副本统计 - %1").arg(m_disc->name) : tr("副本统计"));
    pcCopies->setTabText(0, tr("各光盘"));
    pcCopies->setTabText(1, tr("只在一张光盘上的文件"));
    pcCopies->setTabText(2, tr("在几张光盘上都有的文件"));
    lvShares->rows()->setHeaderCaptions({tr("光盘名"), tr("文件数"), tr("别处有副本"), tr("只有这一份"), tr("比例")});
    lvSingle->rows()->setHeaderCaptions({tr("光盘名"), tr("文件名"), tr("大小"), tr("时间"), tr("路径")});
    lvDuplicates->rows()->setHeaderCaptions({tr("文件名"), tr("大小"), tr("时间"), tr("光盘"), tr("校验值")});
}

void TfrmCopies::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    TfrmRoot<QDialog>::changeEvent(event);
}

void TfrmCopies::fill(StatusProgress &progress)
{
    const std::optional<qint64> disc = m_disc ? std::optional(m_disc->code) : std::nullopt;
    const auto done = qScopeGuard([&] { progress.SetStatusText(QString()); });
    bool going = true;
    RowBatches single(*lvSingle->rows());
    RowBatches groups(*lvDuplicates->rows());
    const QList<Copies::DiscShare> shares = Copies::all(
        m_connectionName, disc, [&](FileRow &&row) { single.add(std::move(row)); },
        [&](Copies::Group &&group) {
            groups.add(FileRow{group.name,
                               {group.size, group.time, group.discs.join(tr("、")), QString::fromLatin1(group.digest.toHex())}});
        },
        [&, this](qsizetype read) {
            progress.ReportProgress(tr("副本统计：已读入%1条记录").arg(read), 0);
            going = going && isVisible() && !progress.StopRequested();
            return going;
        });
    if (!going)
        return; // the shares of a walk stopped halfway would be wrong
    RowBatches shareRows(*lvShares->rows());
    for (const Copies::DiscShare &share : shares)
        shareRows.add(FileRow{share.name,
                              {QString::number(share.files), QString::number(share.copied),
                               QString::number(share.files - share.copied), percent(share.copied, share.files)}});
}
