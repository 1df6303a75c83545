// Preparation and shingle extraction against their literal transcriptions, and the compare's one
// pass over a text as typed against the windows cut one at a time and their hashes.
#include "analysis/analysis.h"
#include "analysis/shingle_windows.h"
#include "fuzz_input.h"
#include "support/reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace analysis::detail;
    for (const std::u16string& text : {fuzz::CodeUnits(data, size), fuzz::AnyText(data, size)}) {
        const std::u16string prepared = analysis::PrepareText(text);
        FUZZ_CHECK(prepared == reference::PrepareText(text));
        const analysis::ShingleList shingles = analysis::ExtractShingles(prepared);
        FUZZ_CHECK(shingles == reference::ExtractShingles(prepared));

        const ShingleHash hash;
        std::optional<Cut> expected = CutWindow(text, FirstState(text));
        std::size_t cut = 0;
        ForEachWindow(text, hash, [&](const Cut& window, std::uint64_t shingleHash) {
            FUZZ_CHECK(expected && window.start == expected->start &&
                       window.closingSpace == expected->closingSpace &&
                       window.end == expected->end);
            FUZZ_CHECK(shingleHash == hash.shingle(text, window.start, window.end));
            // Cut from the text as typed, a window holds the shingle of the prepared text.
            FUZZ_CHECK(cut < shingles.size() &&
                       reference::PrepareText(std::u16string_view(text).substr(
                           window.start, window.end - window.start)) == shingles[cut]);
            ++cut;
            expected = CutWindow(text, expected->next);
        });
        FUZZ_CHECK(!expected && cut == shingles.size());
    }
    return 0;
}
