#pragma once

#include "CustomSortableListView.h"

// The program's file list: read-only, whole rows, several rows selectable, no tree lines.
class TSortableListView : public TCustomSortableListView {
    Q_OBJECT
public:
    explicit TSortableListView(QWidget *parent = nullptr);
};
