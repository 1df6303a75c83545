#include "analysis.h"

#include <algorithm>
#include <array>
#include <limits>

namespace analysis {

namespace {

constexpr char16_t Space = u' ';

constexpr std::array<std::u16string_view, 13> NonWordTokens = {
    u"-", u"", u"(", u")", u"=", u"_", u"+", u"%", u"$", u"@", u"!", u"?", u"/"};

std::int32_t Saturated(std::uint64_t count)
{
    return static_cast<std::int32_t>(
        std::min<std::uint64_t>(count, std::numeric_limits<std::int32_t>::max()));
}

bool IsNonWordToken(std::u16string_view token)
{
    // Every non-word token is at most one character long.
    if (token.size() > 1)
        return false;
    return std::ranges::find(NonWordTokens, token) != NonWordTokens.end();
}

// A token that starts at a character is not a word when it is empty (the character is a space)
// or is one non-word character followed by a space.
bool StartsNonWordToken(char16_t c, bool spaceFollows)
{
    return c == Space || (spaceFollows && IsNonWordToken(std::u16string_view(&c, 1)));
}

LiveTextStatistics::Paragraph Summarise(std::u16string_view text)
{
    LiveTextStatistics::Paragraph paragraph;
    paragraph.length = text.size();
    const std::size_t size = text.size();
    std::uint64_t spaces = 0;
    std::uint64_t nonWord = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const bool space = text[i] == Space;
        spaces += space ? 1 : 0;
        // A token starts after every space; within a paragraph, a character that is not a
        // space always follows its end (the line break, or whatever the text's end makes of it).
        if (i > 0 && text[i - 1] == Space)
            nonWord += StartsNonWordToken(text[i], i + 1 < size && text[i + 1] == Space) ? 1 : 0;
    }
    paragraph.spaces = spaces;
    paragraph.nonWord = nonWord;
    if (size > 0)
        paragraph.openingNonWord = StartsNonWordToken(text[0], size > 1 && text[1] == Space);
    paragraph.tailLength = static_cast<std::uint8_t>(std::min<std::size_t>(size, 3));
    for (std::size_t k = 0; k < paragraph.tailLength; ++k)
        paragraph.tail[k] = text[size - 1 - k];
    return paragraph;
}

// The figures of `a`, a space and `b` in a row, from theirs alone.
LiveTextStatistics::Paragraph JoinedBySpace(const LiveTextStatistics::Paragraph& a,
                                            const LiveTextStatistics::Paragraph& b)
{
    LiveTextStatistics::Paragraph joined;
    joined.length = a.length + 1 + b.length;
    joined.spaces = a.spaces + 1 + b.spaces;
    joined.nonWord = a.nonWord + b.nonWord + b.openingNonWord;
    // The token that starts at a's last character has the space as its follower now.
    if (a.length >= 2 && a.tail[1] == Space) {
        joined.nonWord -= StartsNonWordToken(a.tail[0], false) ? 1 : 0;
        joined.nonWord += StartsNonWordToken(a.tail[0], true) ? 1 : 0;
    }
    // The space itself starts a token, an empty one, after a space.
    if (a.length >= 1 && a.tail[0] == Space)
        ++joined.nonWord;
    if (a.length >= 2)
        joined.openingNonWord = a.openingNonWord;
    else
        joined.openingNonWord = a.length == 1 ? StartsNonWordToken(a.tail[0], true) : 1;
    for (std::size_t k = 0; k < b.tailLength; ++k)
        joined.tail[joined.tailLength++] = b.tail[k];
    if (joined.tailLength < 3)
        joined.tail[joined.tailLength++] = Space;
    for (std::size_t k = 0; k < a.tailLength && joined.tailLength < 3; ++k)
        joined.tail[joined.tailLength++] = a.tail[k];
    joined.continues = a.continues;
    return joined;
}

} // namespace

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

LiveTextStatistics::LiveTextStatistics() : paragraphs_(1) {}

void LiveTextStatistics::account(std::size_t from, std::size_t to, bool add)
{
    for (std::size_t i = from; i < to;) {
        Paragraph run = paragraphs_[i];
        for (++i; i < to && paragraphs_[i].continues; ++i)
            run = JoinedBySpace(run, paragraphs_[i]);
        if (add) {
            ++runs_;
            length_ += run.length;
            spaces_ += run.spaces;
            nonWord_ += run.nonWord;
        } else {
            --runs_;
            length_ -= run.length;
            spaces_ -= run.spaces;
            nonWord_ -= run.nonWord;
        }
    }
}

void LiveTextStatistics::replace(std::size_t first, std::size_t count,
                                 std::span<const std::u16string_view> paragraphs,
                                 std::span<const bool> continues)
{
    first = std::min(first, paragraphs_.size());
    count = std::min(count, paragraphs_.size() - first);
    std::vector<Paragraph> added;
    added.reserve(paragraphs.size());
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        added.push_back(Summarise(paragraphs[i]));
        added.back().continues = i < continues.size() && continues[i];
        charactersExamined_ += paragraphs[i].size();
    }

    // The runs the edit touches: from the one the first paragraph replaced joins, to the end of
    // the one the paragraph after them continues.
    std::size_t from = first;
    const bool joinsBefore = (first < paragraphs_.size() && paragraphs_[first].continues) ||
                             (!added.empty() && added.front().continues);
    if (first > 0 && joinsBefore) {
        for (--from; from > 0 && paragraphs_[from].continues;)
            --from;
    }
    std::size_t to = first + count;
    while (to < paragraphs_.size() && paragraphs_[to].continues)
        ++to;
    const std::size_t trailing = to - (first + count);
    account(from, to, false);

    const auto at = paragraphs_.begin() + static_cast<std::ptrdiff_t>(first);
    const std::size_t common = std::min(count, added.size());
    std::copy(added.begin(), added.begin() + static_cast<std::ptrdiff_t>(common), at);
    if (count > common) {
        paragraphs_.erase(at + static_cast<std::ptrdiff_t>(common),
                          at + static_cast<std::ptrdiff_t>(count));
    } else {
        paragraphs_.insert(at + static_cast<std::ptrdiff_t>(common),
                           added.begin() + static_cast<std::ptrdiff_t>(common), added.end());
    }
    const bool emptied = paragraphs_.empty();
    if (emptied)
        paragraphs_.emplace_back();
    paragraphs_.front().continues = false;
    account(from, first + added.size() + trailing + (emptied ? 1 : 0), true);
}

TextStatistics LiveTextStatistics::statistics() const
{
    const std::uint64_t length = length_ + 2 * (runs_ - 1);
    TextStatistics statistics;
    statistics.CharactersWithoutSpaces = Saturated(length - spaces_);
    if (length == 0)
        return statistics;

    // The last three characters of the text, the last one first, through the CR LF or the space
    // between paragraphs; `known` stops short at the start of the text.
    char16_t last[3] = {};
    std::size_t known = 0;
    for (std::size_t i = paragraphs_.size(); i-- > 0 && known < 3;) {
        const Paragraph& paragraph = paragraphs_[i];
        for (std::size_t k = 0; k < paragraph.tailLength && known < 3; ++k)
            last[known++] = paragraph.tail[k];
        if (i == 0)
            break;
        if (paragraph.continues) {
            if (known < 3)
                last[known++] = Space;
            continue;
        }
        for (const char16_t c : {u'\n', u'\r'}) {
            if (known < 3)
                last[known++] = c;
        }
    }
    Paragraph opening = paragraphs_.front();
    for (std::size_t i = 1; i < paragraphs_.size() && paragraphs_[i].continues; ++i)
        opening = JoinedBySpace(opening, paragraphs_[i]);

    // The tokens are the text without its last character, split at every space. The paragraphs
    // counted their non-word tokens as if every character had a follower; the last two
    // characters' tokens are counted again here with the text's real end.
    const auto isSpace = [&](std::size_t k) { return k < known && last[k] == Space; };
    const bool lastIsFirst = known == 1;
    const bool secondLastIsFirst = known == 2;
    const bool tokenBeforeLast = lastIsFirst || isSpace(1);
    const std::uint64_t tokens = 1 + spaces_ - (isSpace(0) ? 1 : 0);

    std::uint64_t nonWord = nonWord_ + opening.openingNonWord;
    // The last character, counted as the start of a token when a space precedes it.
    if (tokenBeforeLast && isSpace(0))
        --nonWord;
    // The token after the last character is dropped with it: empty, so never a word.
    if (tokenBeforeLast)
        ++nonWord;
    if (known >= 2) {
        const bool startsToken = secondLastIsFirst || isSpace(2);
        if (startsToken) {
            // Counted as followed by the last character; really it ends the tokens.
            nonWord -= StartsNonWordToken(last[1], isSpace(0)) ? 1 : 0;
            nonWord += StartsNonWordToken(last[1], true) ? 1 : 0;
        }
    }
    statistics.WordCount = Saturated(tokens - nonWord);
    return statistics;
}

} // namespace analysis
