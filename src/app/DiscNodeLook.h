#pragma once

#include "store/DiscVerifications.h"

#include <QIcon>
#include <QString>
#include <optional>

struct DiscOverview;

// How a disc node shows what the catalogue knows about the disc beyond its name: a tooltip
// with label, serial, location and lending, and the disc picture with a mark for each state
// (lent: a mark in the lower right corner; the latest verification's state in the lower
// left: a green tick for a whole disc, amber for differences, red for unreadable files).
namespace DiscNodeLook {
struct States {
    bool lent = false;
    std::optional<Verification::State> verified; // nothing: never verified
    bool operator==(const States &) const = default;
};
QIcon icon(States states);
// The same icons made once for each combination of states.
const QIcon &cachedIcon(States states);
QString toolTip(const DiscOverview &disc, const std::optional<Verification> &latest = std::nullopt);
// "校验过，完好（3 天前）", "从未校验": the state of a disc's latest verification.
QString verificationText(const std::optional<Verification> &latest);
} // namespace DiscNodeLook
