// The live figures through any sequence of paragraph edits against the literal transcription's
// count of the whole text after each: every edit takes four bytes (where, how many paragraphs,
// how many new ones, how long each in bytes) and then the bytes of the new paragraphs.
#include "analysis/analysis.h"
#include "fuzz_input.h"
#include "support/reference.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    analysis::LiveTextStatistics live;
    std::vector<std::u16string> paragraphs{std::u16string()};
    std::size_t at = 0;
    while (size - at >= 4) {
        const std::size_t first = data[at] % paragraphs.size();
        const std::size_t count =
            std::min<std::size_t>(data[at + 1] % 4, paragraphs.size() - first);
        const std::size_t added = data[at + 2] % 4;
        const std::size_t length = data[at + 3] % 8;
        at += 4;
        std::vector<std::u16string> texts;
        for (std::size_t i = 0; i < added; ++i) {
            const std::size_t take = std::min(length, size - at);
            texts.push_back(fuzz::AnyText(data + at, take));
            at += take;
        }
        const std::vector<std::u16string_view> views(texts.begin(), texts.end());
        live.replace(first, count, views);
        paragraphs.erase(paragraphs.begin() + static_cast<std::ptrdiff_t>(first),
                         paragraphs.begin() + static_cast<std::ptrdiff_t>(first + count));
        paragraphs.insert(paragraphs.begin() + static_cast<std::ptrdiff_t>(first), texts.begin(),
                          texts.end());
        if (paragraphs.empty())
            paragraphs.emplace_back();

        std::u16string text;
        for (std::size_t i = 0; i < paragraphs.size(); ++i)
            text += (i > 0 ? u"\r\n" : u"") + paragraphs[i];
        const analysis::TextStatistics fresh = reference::ComputeTextStatistics(text);
        const analysis::TextStatistics kept = live.statistics();
        FUZZ_CHECK(live.paragraphCount() == paragraphs.size());
        FUZZ_CHECK(kept.CharactersWithoutSpaces == fresh.CharactersWithoutSpaces);
        FUZZ_CHECK(kept.WordCount == fresh.WordCount);
    }
    return 0;
}
