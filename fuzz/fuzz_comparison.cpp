// The compare the program runs against the literal transcriptions, from preparation to the naive
// N x S loop, on any UTF-16: the first byte splits the rest into the new text and the source,
// the second says whether they are read as code units of any value or as text made of the
// characters that matter most.
#include "analysis/analysis.h"
#include "analysis/repeat_tracker.h"
#include "fuzz_input.h"
#include "support/reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t newTextSize = (size - 2) * data[0] / 255;
    const auto read = data[1] % 2 == 0 ? fuzz::CodeUnits : fuzz::AnyText;
    const std::u16string newText = read(data + 2, newTextSize);
    const std::u16string source = read(data + 2 + newTextSize, size - 2 - newTextSize);

    analysis::ComparisonResult expected;
    const bool compared = reference::CompareShingleLists(
        reference::ExtractShingles(reference::PrepareText(newText)),
        reference::ExtractShingles(reference::PrepareText(source)), expected);
    analysis::RepeatTracker tracker;
    const analysis::ComparisonOutcome outcome = tracker.compare(newText, source);
    FUZZ_CHECK(std::holds_alternative<analysis::ComparisonResult>(outcome) == compared);
    if (compared) {
        const auto& actual = std::get<analysis::ComparisonResult>(outcome);
        FUZZ_CHECK(actual.MatchCount == expected.MatchCount);
        FUZZ_CHECK(actual.Percentage == expected.Percentage);
        FUZZ_CHECK(actual.MatchListing == expected.MatchListing);
        FUZZ_CHECK(actual.NewShingleCount == expected.NewShingleCount);
        FUZZ_CHECK(actual.SourceShingleCount == expected.SourceShingleCount);
        FUZZ_CHECK(actual.Percentage >= 0 && actual.Percentage <= 100);
        FUZZ_CHECK(actual.listingEntryStarts.size() == tracker.pairCount() + 1);
    }
    return 0;
}
