#include "CustomSortableListView.h"

#include "store/DateText.h"
#include "store/FileRowModel.h"

#include "language/Language.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHeaderView>

#include <algorithm>
#include <numeric>

namespace {

// The leading run of digits as a number; a text that does not begin with a digit is 0.
double leadingNumber(const QString &text)
{
    double value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// A text that is not a date sorts before every date.
qint64 dateValue(const QString &text)
{
    return DateText::sortKey(text).value_or(std::numeric_limits<qint64>::min());
}

template <class Key>
std::vector<int> orderBy(const std::vector<Key> &keys, bool ascending)
{
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return ascending ? keys[size_t(a)] < keys[size_t(b)] : keys[size_t(b)] < keys[size_t(a)];
    });
    return order;
}

std::vector<int> textOrder(const std::vector<QString> &texts, bool ascending)
{
    const QCollator &collator = InterfaceLanguage::textCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    // Equal neighbours (the disc name of every row of a disc) share one key.
    for (size_t i = 0; i < texts.size(); ++i)
        keys.push_back(i > 0 && texts[i] == texts[i - 1] ? keys.back() : collator.sortKey(texts[i]));
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return ascending ? c < 0 : c > 0;
    });
    return order;
}

} // namespace

TCustomSortableListView::TCustomSortableListView(QWidget *parent)
    : QTableView(parent), m_rows(new FileRowModel(this))
{
    setModel(m_rows);
}

void TCustomSortableListView::setColumns(const QStringList &captions, const QList<int> &widths)
{
    m_rows->setHeaderCaptions(captions);
    for (int i = 0; i < widths.size(); ++i)
        header()->resizeSection(i, widths.at(i));
}

void TCustomSortableListView::SortBy(int column, quint8 kind)
{
    const bool ascending = column == CurrentSortColumn() ? !SortAscending() : true;
    DoSort(column, kind, ascending);
}

void TCustomSortableListView::DoSort(int column, quint8 kind, bool ascending)
{
    m_sortColumn = column;
    m_sortKind = kind;
    m_ascending = ascending;
    // One column's texts for every row, read once; the rows follow the order of their texts.
    const std::vector<QString> texts = m_rows->columnTexts(column);
    std::vector<int> order;
    if (kind == Text) {
        order = textOrder(texts, ascending);
    } else if (kind == Number) {
        std::vector<double> keys;
        keys.reserve(texts.size());
        for (const QString &text : texts)
            keys.push_back(leadingNumber(text));
        order = orderBy(keys, ascending);
    } else if (kind == DateTime) {
        std::vector<qint64> keys;
        keys.reserve(texts.size());
        for (const QString &text : texts)
            keys.push_back(dateValue(text));
        order = orderBy(keys, ascending);
    }
    if (!order.empty())
        m_rows->reorder(order);
    m_sorted = true;
}
