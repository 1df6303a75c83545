// What the cutting of shingles looks for in a text: its spaces, and the punctuation that
// preparation removes.
#pragma once

#include "analysis.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace analysis::detail {

inline constexpr char16_t Space = u' ';

// Every removed character lies below U+0080.
inline constexpr std::array<bool, 128> RemovedBelow128 = [] {
    std::array<bool, 128> removed{};
    for (const char16_t mark : RemovedPunctuation)
        removed[mark] = true;
    return removed;
}();

// Whether preparation keeps a character.
inline bool Kept(char16_t c)
{
    return c >= RemovedBelow128.size() || !RemovedBelow128[c];
}

// A run of up to 64 characters: a bit for each space, and one for each removed character, the
// first character lowest.
struct CharacterBits
{
    std::uint64_t spaces = 0;
    std::uint64_t removed = 0;
};

inline constexpr std::size_t BitsLength = 64;

inline CharacterBits ScanCharacters(const char16_t* characters, std::size_t length)
{
    // Every removed character lies in [first, last]; only those are looked up one by one.
    constexpr char16_t FirstRemoved = std::ranges::min(RemovedPunctuation);
    constexpr char16_t LastRemoved = std::ranges::max(RemovedPunctuation);
    std::uint64_t spaces = 0;
    std::uint64_t candidates = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi16(static_cast<short>(Space));
    const __m128i first = _mm_set1_epi16(static_cast<short>(FirstRemoved));
    const __m128i span = _mm_set1_epi16(static_cast<short>(LastRemoved - FirstRemoved));
    const __m128i zero = _mm_setzero_si128();
    const auto inRange = [&](__m128i units) {
        return _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(units, first), span), zero);
    };
    // Each compare's lanes packed to a byte a character.
    const auto bits = [](__m128i a, __m128i b) {
        return static_cast<std::uint64_t>(
            static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_packs_epi16(a, b))));
    };
    const auto load = [characters](std::size_t at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(characters + at));
    };
    for (; i + 16 <= length; i += 16) {
        const __m128i low = load(i);
        const __m128i high = load(i + 8);
        spaces |= bits(_mm_cmpeq_epi16(low, space), _mm_cmpeq_epi16(high, space)) << i;
        candidates |= bits(inRange(low), inRange(high)) << i;
    }
    // The rest eight at a time, the last eight overlapping those before: a bit found twice is
    // the same bit.
    if (length >= 8) {
        for (bool last = false; !last; i += 8) {
            last = i + 8 >= length;
            const std::size_t at = last ? length - 8 : i;
            const __m128i units = load(at);
            spaces |= bits(_mm_cmpeq_epi16(units, space), zero) << at;
            candidates |= bits(inRange(units), zero) << at;
        }
        i = length;
    }
#endif
    for (; i < length; ++i) {
        const char16_t c = characters[i];
        spaces |= std::uint64_t{c == Space} << i;
        candidates |= std::uint64_t{c >= FirstRemoved && c <= LastRemoved} << i;
    }
    std::uint64_t removed = 0;
    for (; candidates != 0; candidates &= candidates - 1) {
        const int at = std::countr_zero(candidates);
        removed |= std::uint64_t{!Kept(characters[at])} << at;
    }
    return {spaces, removed};
}

// The characters of a run that preparation keeps, written from `to` on; how many there are.
// They are copied as the runs between removed ones, most often the whole run at once.
inline std::size_t CopyKept(std::u16string_view run, char16_t* to)
{
    std::size_t written = 0;
    for (std::size_t at = 0; at < run.size(); at += BitsLength) {
        const char16_t* const from = run.data() + at;
        const std::size_t length = std::min(BitsLength, run.size() - at);
        std::size_t start = 0;
        for (std::uint64_t removed = ScanCharacters(from, length).removed; removed != 0;
             removed &= removed - 1) {
            const auto next = static_cast<std::size_t>(std::countr_zero(removed));
            std::copy(from + start, from + next, to + written);
            written += next - start;
            start = next + 1;
        }
        std::copy(from + start, from + length, to + written);
        written += length - start;
    }
    return written;
}

// The set bits of a word that has few: std::popcount is a call where the processor's own
// instruction may not be assumed.
inline std::size_t FewBits(std::uint64_t bits)
{
    std::size_t count = 0;
    for (; bits != 0; bits &= bits - 1)
        ++count;
    return count;
}

// The spaces of a text found in order, 64 characters at a time, so that finding a word's end
// costs a few instructions and not a branch a character. The compare's cutting goes over whole
// texts this way.
class SpaceScanner
{
public:
    explicit SpaceScanner(std::u16string_view text) : text_(text) {}

    // The first space from `position` on, or the text's end, and how many removed characters lie
    // before it, added to `removed`.
    std::size_t nextSpace(std::size_t position, std::size_t& removed)
    {
        while (position < text_.size()) {
            const std::size_t chunk = position / BitsLength;
            if (chunk != chunk_) {
                chunk_ = chunk;
                const std::size_t start = chunk * BitsLength;
                bits_ = ScanCharacters(text_.data() + start,
                                       std::min(BitsLength, text_.size() - start));
            }
            const std::uint64_t from = ~std::uint64_t{0} << (position % BitsLength);
            const std::uint64_t spaces = bits_.spaces & from;
            const std::uint64_t before = spaces == 0 ? from : from & ((spaces & -spaces) - 1);
            removed += FewBits(bits_.removed & before);
            if (spaces != 0)
                return chunk * BitsLength + static_cast<std::size_t>(std::countr_zero(spaces));
            position = (chunk + 1) * BitsLength;
        }
        return text_.size();
    }

private:
    std::u16string_view text_;
    std::size_t chunk_ = static_cast<std::size_t>(-1);
    CharacterBits bits_;
};

} // namespace analysis::detail
