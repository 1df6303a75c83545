// The figures of a whole text against their literal transcription.
#include "analysis/analysis.h"
#include "fuzz_input.h"
#include "support/reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const std::u16string& text : {fuzz::CodeUnits(data, size), fuzz::AnyText(data, size)}) {
        const analysis::TextStatistics actual = analysis::ComputeTextStatistics(text);
        const analysis::TextStatistics expected = reference::ComputeTextStatistics(text);
        FUZZ_CHECK(actual.CharactersWithoutSpaces == expected.CharactersWithoutSpaces);
        FUZZ_CHECK(actual.WordCount == expected.WordCount);
    }
    return 0;
}
