// The live figures through any sequence of paragraph edits against the literal transcription's
// count of the whole text after each: every edit takes four bytes (where, how many paragraphs,
// how many new ones, how long each in bytes) and then the bytes of the new paragraphs.
#include "analysis/analysis.h"
#include "fuzz_input.h"
#include "support/edited_text.h"
#include "support/reference.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    testsupport::EditedText edited;
    std::size_t at = 0;
    while (size - at >= 4) {
        const std::size_t first = data[at] % edited.paragraphs().size();
        const std::size_t count = data[at + 1] % 4;
        const std::size_t added = data[at + 2] % 4;
        const std::size_t length = data[at + 3] % 8;
        at += 4;
        std::vector<std::u16string> texts;
        for (std::size_t i = 0; i < added; ++i) {
            const std::size_t take = std::min(length, size - at);
            texts.push_back(fuzz::AnyText(data + at, take));
            at += take;
        }
        edited.replace(first, count, texts);

        const analysis::TextStatistics fresh = reference::ComputeTextStatistics(edited.text());
        const analysis::TextStatistics kept = edited.live().statistics();
        FUZZ_CHECK(edited.live().paragraphCount() == edited.paragraphs().size());
        FUZZ_CHECK(kept.CharactersWithoutSpaces == fresh.CharactersWithoutSpaces);
        FUZZ_CHECK(kept.WordCount == fresh.WordCount);
    }
    return 0;
}
