#include "shingle_windows.h"

#include <algorithm>

namespace analysis {

namespace detail {

std::optional<Cut> CutWindow(std::u16string_view text, ChainState state)
{
    const std::size_t first = text.find(Space, state.examineFrom);
    if (first == std::u16string_view::npos)
        return std::nullopt;
    const std::size_t second = text.find(Space, first + 1);
    if (second == std::u16string_view::npos)
        return std::nullopt;
    const std::size_t third = text.find(Space, second + 1);
    if (third == std::u16string_view::npos)
        return std::nullopt;
    std::size_t end = third;
    while (end > state.start && (text[end - 1] == Space || !Kept(text[end - 1])))
        --end;
    const std::size_t next = NextKept(text, first + 1);
    return Cut{state.start, third, end, {next, next + 1}};
}

} // namespace detail

std::u16string PrepareText(std::u16string_view text)
{
    std::u16string prepared(text.size(), u'\0');
    std::size_t length = 0;
    for (const char16_t c : text) {
        prepared[length] = c;
        length += detail::Kept(c) ? 1 : 0;
    }
    prepared.resize(length);
    return prepared;
}

ShingleList ExtractShingles(std::u16string_view prepared)
{
    ShingleList shingles;
    // A text never has more shingles than spaces.
    shingles.reserve(
        static_cast<std::size_t>(std::count(prepared.begin(), prepared.end(), detail::Space)));
    for (std::optional<detail::Cut> cut = detail::CutWindow(prepared, detail::FirstState(prepared));
         cut; cut = detail::CutWindow(prepared, cut->next)) {
        std::u16string shingle;
        for (std::size_t i = cut->start; i < cut->end; ++i) {
            if (detail::Kept(prepared[i]))
                shingle.push_back(prepared[i]);
        }
        shingles.push_back(std::move(shingle));
    }
    return shingles;
}

} // namespace analysis
