// Where two texts repeat each other, exactly and in other word forms, against the literal
// transcriptions: after the compare, and after edits of either text once settled, at once or a
// slice at a time (however short the texts became), and compared again as edited. The first
// byte splits the rest into the new text and the source; the second seeds the edits.
#include "analysis/repeat_tracker.h"
#include "fuzz_input.h"
#include "support/reference.h"

#include <random>

namespace {

void CheckWhereTheRulesPutThem(analysis::RepeatTracker& tracker, bool pairsToo)
{
    using analysis::TextSide;
    const std::u16string& newText = tracker.text(TextSide::NewText);
    const std::u16string& source = tracker.text(TextSide::Source);
    const reference::Repeats expected = reference::LocateRepeats(newText, source, !pairsToo);
    FUZZ_CHECK(tracker.marks(TextSide::NewText, 0, newText.size()) == expected.newTextMarks);
    FUZZ_CHECK(tracker.marks(TextSide::Source, 0, source.size()) == expected.sourceMarks);
    // The near repeats, folded to the end first as the panes' idle work does.
    while (!tracker.foldSome(64)) {
    }
    FUZZ_CHECK(tracker.areNearRepeatsKnown());
    const reference::NearRepeats near = reference::LocateNearRepeats(newText, source);
    FUZZ_CHECK(tracker.marks(TextSide::NewText, 0, newText.size(), analysis::RepeatKind::Near) ==
               near.newTextMarks);
    FUZZ_CHECK(tracker.marks(TextSide::Source, 0, source.size(), analysis::RepeatKind::Near) ==
               near.sourceMarks);
    FUZZ_CHECK(tracker.nearRepeatCount() == near.newTextCount);
    if (!pairsToo)
        return;
    FUZZ_CHECK(tracker.pairCount() == expected.pairs.size());
    for (std::size_t entry = 0; entry < expected.pairs.size(); ++entry) {
        FUZZ_CHECK(tracker.pairExtent(entry, TextSide::NewText) == expected.pairs[entry].first);
        FUZZ_CHECK(tracker.pairExtent(entry, TextSide::Source) == expected.pairs[entry].second);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const auto [newText, source] = fuzz::SplitTexts(data[0], data + 2, size - 2);

    analysis::RepeatTracker tracker;
    const analysis::ComparisonOutcome outcome = tracker.compare(newText, source);
    analysis::ComparisonResult expected;
    const bool compared = reference::CompareShingleLists(
        reference::ExtractShingles(reference::PrepareText(newText)),
        reference::ExtractShingles(reference::PrepareText(source)), expected);
    FUZZ_CHECK(std::holds_alternative<analysis::ComparisonResult>(outcome) == compared);
    FUZZ_CHECK(tracker.isActive() == compared);
    if (!compared)
        return 0;
    const auto& actual = std::get<analysis::ComparisonResult>(outcome);
    FUZZ_CHECK(actual.MatchCount == expected.MatchCount);
    FUZZ_CHECK(actual.Percentage == expected.Percentage);
    FUZZ_CHECK(actual.MatchListing == expected.MatchListing);
    CheckWhereTheRulesPutThem(tracker, true);

    // Edits of either text, pieces of the other text or of itself put in, settled now and then.
    std::minstd_rand random(data[1]);
    const auto below = [&random](std::size_t bound) {
        return bound == 0 ? std::size_t{0} : static_cast<std::size_t>(random() % (bound + 1));
    };
    for (int edit = 0; edit < 8; ++edit) {
        const auto side = random() % 2 ? analysis::TextSide::NewText : analysis::TextSide::Source;
        const std::u16string& from =
            tracker.text(random() % 2 ? analysis::TextSide::NewText : analysis::TextSide::Source);
        const std::size_t start = below(from.size());
        const std::u16string inserted = from.substr(start, below(12));
        const std::size_t length = tracker.text(side).size();
        const std::size_t position = below(length);
        tracker.replace(side, position, below(std::min<std::size_t>(length - position, 8)),
                        inserted);
        if (random() % 3 == 0) {
            // At once, or a few shingles at a time as the panes settle while idle.
            const std::size_t slice = below(4);
            if (slice == 4)
                tracker.settle();
            while (!tracker.settleSome(slice)) {
            }
            CheckWhereTheRulesPutThem(tracker, false);
        }
    }
    tracker.settle();
    CheckWhereTheRulesPutThem(tracker, false);

    // Compared again as edited, as the compare button does with the texts the tracker holds: the
    // edited texts' figures and pairs, or, for texts edited too short, the marks as they were.
    const std::u16string edited[2] = {tracker.text(analysis::TextSide::NewText),
                                      tracker.text(analysis::TextSide::Source)};
    const analysis::ComparisonOutcome again = tracker.compareHeld();
    analysis::ComparisonResult expectedAgain;
    const bool comparedAgain = reference::CompareShingleLists(
        reference::ExtractShingles(reference::PrepareText(edited[0])),
        reference::ExtractShingles(reference::PrepareText(edited[1])), expectedAgain);
    FUZZ_CHECK(std::holds_alternative<analysis::ComparisonResult>(again) == comparedAgain);
    FUZZ_CHECK(tracker.isActive());
    if (comparedAgain)
        FUZZ_CHECK(std::get<analysis::ComparisonResult>(again).MatchListing ==
                   expectedAgain.MatchListing);
    CheckWhereTheRulesPutThem(tracker, comparedAgain);
    return 0;
}
