#include "shingle_hash.h"

#include "shingle_windows.h"

#include <cassert>
#include <string>

namespace analysis::detail {

std::uint64_t ShingleHash::wordLeavingOut(std::u16string_view characters) const
{
    // Punctuation mostly stands at a word's ends: what lies between is hashed where it is.
    while (!characters.empty() && !Kept(characters.front()))
        characters.remove_prefix(1);
    while (!characters.empty() && !Kept(characters.back()))
        characters.remove_suffix(1);
    std::u16string kept;
    if (!std::ranges::all_of(characters, Kept)) {
        kept.reserve(characters.size());
        for (const char16_t c : characters) {
            if (Kept(c))
                kept.push_back(c);
        }
        characters = kept;
    }
    return key_ ? SipHash(*key_, characters) : fixedHash(characters.data(), characters.size());
}

std::uint64_t ShingleHash::shingle(std::u16string_view text, std::size_t start,
                                   std::size_t end) const
{
    // A shingle holds at most the words between the three spaces its window counts and the one
    // it may start with.
    std::uint64_t words[ShingleLength + 1];
    std::size_t count = 0;
    std::size_t from = start;
    while (true) {
        const std::size_t space = text.substr(0, end).find(Space, from);
        const std::size_t to = space == std::u16string_view::npos ? end : space;
        const std::u16string_view word = text.substr(from, to - from);
        assert(count <= ShingleLength);
        words[count++] = this->word(word, !std::ranges::all_of(word, Kept), text.size() - from);
        if (to == end)
            break;
        from = to + 1;
    }
    return combine(count, [&words](std::size_t i) { return words[i]; });
}

} // namespace analysis::detail
