// What F3 and F4 tell a screen reader of the repeat they reached: which of how many, and whether
// the walk went round past an end of the text. The eye sees it by the marks; a reader hears it.
#pragma once

#include "analysis/repeat_tracker.h"
#include "repeat_follower.h"

#include <QString>

#include <optional>
#include <vector>

namespace ui {

// `runs`: the pane's marks of the kind, of every layer walked, in any order; runs that overlap
// or touch are one repeat, as the eye takes them. `reached`: where the walk stopped, one of the
// runs, or nothing when the pane has none.
QString WalkAnnouncement(analysis::RepeatKind kind, std::vector<PaneRange> runs,
                         std::optional<PaneRange> reached, bool forward, bool wrapped);

} // namespace ui
