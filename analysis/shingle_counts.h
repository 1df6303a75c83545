// How many shingles of the source equal each shingle of the new text, counted through an
// open-addressing table over views into the source's prepared text.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace analysis::detail {

// The fast hash the table tries first. It is fixed and public, so text can be made whose
// shingles all land on one slot; the table notices and changes to a keyed hash.
inline std::uint64_t HashShingle(std::u16string_view text)
{
    // 64-bit multiply-xorshift over four code units at a time.
    constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = text.size() * Multiplier;
    const char16_t* data = text.data();
    std::size_t remaining = text.size();
    while (remaining >= 4) {
        std::uint64_t word;
        std::memcpy(&word, data, sizeof word);
        hash = (hash ^ word) * Multiplier;
        hash ^= hash >> 29;
        data += 4;
        remaining -= 4;
    }
    std::uint64_t tail = 0;
    if (remaining != 0) // an empty shingle's view may hold no pointer at all
        std::memcpy(&tail, data, remaining * sizeof(char16_t));
    hash = (hash ^ tail) * Multiplier;
    hash ^= hash >> 32;
    return hash;
}

struct MatchCounts
{
    // For each shingle of the new text in order, the number of equal shingles of the source.
    std::vector<std::int64_t> perShingle;
    std::int64_t total = 0;
    // Slots looked at while filling and reading the table: the work the counting took.
    std::uint64_t probes = 0;
};

MatchCounts CountMatches(std::span<const std::u16string_view> newText,
                         std::span<const std::u16string_view> source);

} // namespace analysis::detail
