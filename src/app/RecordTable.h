#pragma once

#include <QHeaderView>
#include <QString>
#include <QStringList>
#include <QTableWidget>

// A table of records that the user reads and chooses from but does not edit: whole rows
// selected, no row numbers, the last column filling the width.
inline QTableWidget *recordTable(QWidget *parent, const QString &name, int columns)
{
    auto *table = new QTableWidget(0, columns, parent);
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// One row of texts appended to the table.
inline int appendRecord(QTableWidget &table, const QStringList &texts)
{
    const int row = table.rowCount();
    table.insertRow(row);
    for (int column = 0; column < texts.size(); ++column)
        table.setItem(row, column, new QTableWidgetItem(texts.at(column)));
    return row;
}
