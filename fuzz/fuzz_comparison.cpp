// The whole compare road against the literal transcriptions, from preparation to the naive
// N x S loop: the first byte splits the rest into the new text and the source.
#include "analysis/analysis.h"
#include "fuzz_input.h"
#include "support/reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto [newText, source] = fuzz::SplitTexts(data[0], data + 1, size - 1);

    const auto newList = reference::ExtractShingles(reference::PrepareText(newText));
    const auto sourceList = reference::ExtractShingles(reference::PrepareText(source));
    analysis::ComparisonResult expected;
    const bool compared = reference::CompareShingleLists(newList, sourceList, expected);
    const analysis::ComparisonOutcome outcome = analysis::CompareTexts(newText, source);
    FUZZ_CHECK(std::holds_alternative<analysis::ComparisonResult>(outcome) == compared);
    if (compared) {
        const auto& actual = std::get<analysis::ComparisonResult>(outcome);
        FUZZ_CHECK(actual.MatchCount == expected.MatchCount);
        FUZZ_CHECK(actual.Percentage == expected.Percentage);
        FUZZ_CHECK(actual.MatchListing == expected.MatchListing);
        FUZZ_CHECK(actual.NewShingleCount == expected.NewShingleCount);
        FUZZ_CHECK(actual.SourceShingleCount == expected.SourceShingleCount);
        FUZZ_CHECK(actual.Percentage >= 0 && actual.Percentage <= 100);
    }
    return 0;
}
