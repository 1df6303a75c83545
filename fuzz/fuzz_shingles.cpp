// Preparation and shingle extraction against their literal transcriptions.
#include "analysis/analysis.h"
#include "fuzz_input.h"
#include "support/reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const std::u16string& text : {fuzz::CodeUnits(data, size), fuzz::AnyText(data, size)}) {
        const std::u16string prepared = analysis::PrepareText(text);
        FUZZ_CHECK(prepared == reference::PrepareText(text));
        const analysis::ShingleList shingles = analysis::ExtractShingles(prepared);
        FUZZ_CHECK(shingles == reference::ExtractShingles(prepared));
        const analysis::ShingleViews views = analysis::ExtractShingleViews(prepared);
        FUZZ_CHECK(analysis::ShingleList(views.begin(), views.end()) == shingles);
    }
    return 0;
}
