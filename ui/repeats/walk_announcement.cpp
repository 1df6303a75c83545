#include "walk_announcement.h"

#include <algorithm>

namespace ui {

QString WalkAnnouncement(analysis::RepeatKind kind, std::vector<PaneRange> runs,
                         std::optional<PaneRange> reached, bool forward, bool wrapped)
{
    const bool exact = kind == analysis::RepeatKind::Exact;
    if (!reached)
        return exact ? QStringLiteral("повторений нет") : QStringLiteral("похожих сочетаний нет");
    std::ranges::sort(runs, {}, &PaneRange::start);
    std::vector<PaneRange> repeats;
    for (const PaneRange& run : runs) {
        if (!repeats.empty() && run.start <= repeats.back().end)
            repeats.back().end = std::max(repeats.back().end, run.end);
        else
            repeats.push_back(run);
    }
    const auto holding = std::ranges::upper_bound(repeats, reached->start, {}, &PaneRange::start);
    const auto ordinal = std::max<std::ptrdiff_t>(holding - repeats.begin(), 1);
    QString said = (exact ? QStringLiteral("повторение %1 из %2")
                          : QStringLiteral("похожее сочетание %1 из %2"))
                       .arg(ordinal)
                       .arg(repeats.size());
    if (wrapped)
        said += forward ? QStringLiteral(", снова с начала текста")
                        : QStringLiteral(", снова с конца текста");
    return said;
}

} // namespace ui
