// One kind of mark in one pane: where the pane's text repeats, in that kind, the text a follower
// compares it with. A pane shows several, painted in their order, the later over the earlier.
#pragma once

#include "analysis/repeat_tracker.h"
#include "mark_style.h"

#include <vector>

namespace ui {

class RepeatFollower;

struct MarkLayer
{
    const RepeatFollower* follower;
    analysis::TextSide side; // the pane's side in the follower's compare
    analysis::RepeatKind kind;
    MarkSource source;
};

using MarkLayers = std::vector<MarkLayer>;

} // namespace ui
