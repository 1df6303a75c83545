#include "analysis.h"

#include <algorithm>

namespace analysis {

namespace {

constexpr char16_t Space = u' ';

std::u16string_view WithoutTrailingSpaces(std::u16string_view text)
{
    const auto last = text.find_last_not_of(Space);
    return text.substr(0, last == std::u16string_view::npos ? 0 : last + 1);
}

// One pass over the text. A window starts just after the first space that the previous window
// counted; its own first character is never examined, so a space standing there is not counted.
// The window closes at the third counted space and its shingle ends before that space.
template <typename Emit> void ForEachShingle(std::u16string_view prepared, Emit&& emit)
{
    std::size_t counted[ShingleLength];
    int known = 0;
    std::size_t searchFrom = 0;
    std::size_t windowStart = 0;
    while (true) {
        while (known < ShingleLength) {
            const std::size_t space = prepared.find(Space, searchFrom);
            if (space == std::u16string_view::npos)
                return;
            counted[known++] = space;
            searchFrom = space + 1;
        }
        const std::size_t closingSpace = counted[ShingleLength - 1];
        emit(WithoutTrailingSpaces(prepared.substr(windowStart, closingSpace - windowStart)));

        windowStart = counted[0] + 1;
        const std::size_t examineFrom = windowStart + 1;
        int kept = 0;
        for (int i = 1; i < known; ++i) {
            if (counted[i] >= examineFrom)
                counted[kept++] = counted[i];
        }
        known = kept;
    }
}

// A text never has more shingles than spaces.
std::size_t MostShingles(std::u16string_view prepared)
{
    return static_cast<std::size_t>(std::count(prepared.begin(), prepared.end(), Space));
}

} // namespace

ShingleViews ExtractShingleViews(std::u16string_view prepared)
{
    ShingleViews shingles;
    shingles.reserve(MostShingles(prepared));
    ForEachShingle(prepared, [&](std::u16string_view shingle) { shingles.push_back(shingle); });
    return shingles;
}

ShingleList ExtractShingles(std::u16string_view prepared)
{
    ShingleList shingles;
    shingles.reserve(MostShingles(prepared));
    ForEachShingle(prepared, [&](std::u16string_view shingle) { shingles.emplace_back(shingle); });
    return shingles;
}

} // namespace analysis
