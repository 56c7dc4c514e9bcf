#pragma once

#include <QIcon>
#include <QString>

struct DiscOverview;

// How a disc node shows what the catalogue knows about the disc beyond its name: a tooltip
// with label, serial, location and lending, and the disc picture with a mark for each state
// (lent: a mark in the lower right corner; the lower left is free for another state).
namespace DiscNodeLook {
struct States {
    bool lent = false;
    bool operator==(const States &) const = default;
};
QIcon icon(States states);
QString toolTip(const DiscOverview &disc);
} // namespace DiscNodeLook
