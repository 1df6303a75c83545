#include "analysis.h"

#include <algorithm>
#include <array>
#include <limits>

namespace analysis {

namespace {

constexpr char16_t Space = u' ';

constexpr std::array<std::u16string_view, 13> NonWordTokens = {
    u"-", u"", u"(", u")", u"=", u"_", u"+", u"%", u"$", u"@", u"!", u"?", u"/"};

std::int32_t Saturated(std::size_t count)
{
    return static_cast<std::int32_t>(
        std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

bool IsNonWordToken(std::u16string_view token)
{
    // Every non-word token is at most one character long.
    if (token.size() > 1)
        return false;
    return std::find(NonWordTokens.begin(), NonWordTokens.end(), token) != NonWordTokens.end();
}

TextStatistics ComputeTextStatistics(std::u16string_view text)
{
    TextStatistics statistics;
    const auto spaces = static_cast<std::size_t>(std::count(text.begin(), text.end(), Space));
    statistics.CharactersWithoutSpaces = Saturated(text.size() - spaces);
    if (text.empty())
        return statistics;

    // The tokens are the text without its last character, split at every space.
    const std::u16string_view tokenised = text.substr(0, text.size() - 1);
    std::size_t words = 0;
    std::size_t tokenStart = 0;
    while (true) {
        const std::size_t end = tokenised.find(Space, tokenStart);
        const std::size_t tokenEnd = end == std::u16string_view::npos ? tokenised.size() : end;
        if (!IsNonWordToken(tokenised.substr(tokenStart, tokenEnd - tokenStart)))
            ++words;
        if (end == std::u16string_view::npos)
            break;
        tokenStart = end + 1;
    }
    statistics.WordCount = Saturated(words);
    return statistics;
}

} // namespace analysis
