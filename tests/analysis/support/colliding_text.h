// Texts made to collide under the comparison's fixed shingle hash (analysis/shingle_hash.cpp), as
// an attacker who reads the code would make them. Shared by the tests and the benchmarks.
#pragma once

#include "analysis/analysis.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

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

constexpr std::uint64_t Inverse = InverseOf(Multiplier);

// A step of the hash: the block mixed in, multiplied, shifted into itself.
constexpr std::uint64_t Step(std::uint64_t hash, std::uint64_t block)
{
    hash = (hash ^ block) * Multiplier;
    return hash ^ (hash >> 29);
}

// The block that takes the hash from `before` to `after` in one step.
constexpr std::uint64_t BlockBetween(std::uint64_t before, std::uint64_t after)
{
    const std::uint64_t product = after ^ (after >> 29) ^ (after >> 58);
    return product * Inverse ^ before;
}

// The hash before its last multiply and shift by 32.
constexpr std::uint64_t BeforeTheEnd(std::uint64_t hash)
{
    return (hash ^ (hash >> 32)) * Inverse;
}

// Up to four code units as the hash reads them into a block, the first lowest.
inline std::uint64_t Block(std::u16string_view units)
{
    std::uint64_t block = 0;
    for (std::size_t i = 0; i < units.size() && i < 4; ++i)
        block |= std::uint64_t{units[i]} << (16 * i);
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

// The fixed hash of a word: four code units to a block, the last filled up with zeros, and at
// least two blocks; the last block is mixed with the length at the end.
inline std::uint64_t WordHash(std::u16string_view word)
{
    const std::size_t blocks = std::max<std::size_t>(2, (word.size() + 3) / 4);
    std::uint64_t hash = Multiplier;
    for (std::size_t i = 0; i + 1 < blocks; ++i)
        hash = Step(hash, Block(word.substr(std::min(word.size(), 4 * i))));
    const std::u16string_view last = word.substr(std::min(word.size(), 4 * (blocks - 1)));
    hash = (hash ^ Block(last) ^ (std::uint64_t{word.size()} << 48)) * Multiplier;
    return hash ^ (hash >> 32);
}

} // namespace detail

// "a b x₁ a b x₂ a b x₃ …" with `count` words x of four characters, each chosen so that the
// shingle "a b xᵢ" hashes to a multiple of 2²⁰: a third of the shingles fall on one slot of any
// table of up to 2²⁰ slots, though no two have the same hash.
inline std::u16string SameSlotText(int count)
{
    using namespace detail;
    // A shingle's hash: its three words' hashes stepped into its word count, then ended.
    const std::uint64_t afterTwoWords = Step(Step(3 * Multiplier, WordHash(u"a")), WordHash(u"b"));
    std::u16string text;
    std::uint64_t target = 0;
    for (int made = 0; made < count;) {
        target += std::uint64_t{1} << 20;
        const std::uint64_t wordHash = BlockBetween(afterTwoWords, BeforeTheEnd(target));
        // A word of one block: the block, then an empty block and its length.
        const std::uint64_t block =
            BlockBetween(Multiplier, BeforeTheEnd(wordHash) ^ (std::uint64_t{4} << 48));
        char16_t word[4];
        std::memcpy(word, &block, sizeof block);
        if (!std::ranges::all_of(word, Pastable))
            continue;
        text += u"a b ";
        text.append(word, 4);
        text += u' ';
        ++made;
    }
    return text;
}

// `count` different words of 99 letters, one space after each. Changing the top bit of a block's
// last character and, in the next block, the top bit of the last character and bit 2 of the one
// before leaves the word's hash as it was (the multiply keeps a change of the top bit alone, the
// shift moves it to bit 34); each word makes its own choice of twelve such pairs, so every word,
// and so every shingle, has the same hash.
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
