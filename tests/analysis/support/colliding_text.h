// Texts made to collide under the comparison's fixed shingle hash (HashShingle), as an attacker
// who reads the code would make them. Shared by the tests and the benchmarks.
#pragma once

#include "analysis/analysis.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

namespace testsupport {

namespace detail {

constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;

constexpr std::uint64_t InverseOf(std::uint64_t odd)
{
    std::uint64_t inverse = odd; // right in 3 bits; each step doubles them
    for (int i = 0; i < 5; ++i)
        inverse *= 2 - odd * inverse;
    return inverse;
}

inline std::uint64_t Block(const char16_t* units)
{
    std::uint64_t block = 0;
    std::memcpy(&block, units, sizeof block);
    return block;
}

// A word character that comes through a paste into a pane unchanged: no space, removed mark,
// control character, surrogate, line or paragraph separator, nor a code the text document
// keeps for itself.
inline bool Pastable(char16_t c)
{
    return c > u' ' && !analysis::IsRemovedPunctuation(c) && (c < 0xD800 || c > 0xDFFF) &&
           c != 0x2028 && c != 0x2029 && (c < 0xFDD0 || c > 0xFDEF) && c < 0xFFFE;
}

} // namespace detail

// "a b x₁ a b x₂ a b x₃ …" with `count` words x of four characters, each chosen so that the
// shingle "a b xᵢ" hashes to a multiple of 2²⁰: a third of the shingles fall on one slot of any
// table of up to 2²⁰ slots, though no two have the same hash.
inline std::u16string SameSlotText(int count)
{
    using detail::Multiplier;
    constexpr std::uint64_t Inverse = detail::InverseOf(Multiplier);
    const std::u16string prefix = u"a b ";
    // The hash's state after "a b ", in a shingle of eight characters.
    std::uint64_t state = (8 * Multiplier ^ detail::Block(prefix.data())) * Multiplier;
    state ^= state >> 29;

    std::u16string text;
    std::uint64_t target = 0;
    for (int made = 0; made < count;) {
        target += std::uint64_t{1} << 20;
        // Undo the last steps: the empty tail's multiply and shift by 32, then the block's.
        std::uint64_t hash = target ^ target >> 32;
        hash *= Inverse;
        hash ^= hash >> 29 ^ hash >> 58;
        const std::uint64_t block = hash * Inverse ^ state;
        char16_t word[4];
        std::memcpy(word, &block, sizeof block);
        if (!std::ranges::all_of(word, detail::Pastable))
            continue;
        text += prefix;
        text.append(word, 4);
        text += u' ';
        ++made;
    }
    return text;
}

// `count` different words of 99 letters, one space after each. Changing the top bit of a block's
// last character and, in the next block, the top bit of the last character and bit 2 of the one
// before leaves the hash as it was (the multiply keeps a change of the top bit alone, the shift
// moves it to bit 34); each word makes its own choice of twelve such pairs, so every shingle has
// the same hash.
inline std::u16string SameHashText(int count)
{
    std::u16string text;
    for (int variant = 0; variant < count; ++variant) {
        std::u16string word(99, u'a');
        for (int pair = 0; pair < 12; ++pair) {
            if (((variant >> pair) & 1) == 0)
                continue;
            const std::size_t first = std::size_t{8} * static_cast<std::size_t>(pair);
            word[first + 3] ^= 0x8000;
            word[first + 7] ^= 0x8000;
            word[first + 6] ^= 0x0004;
        }
        text += word;
        text += u' ';
    }
    return text;
}

} // namespace testsupport
