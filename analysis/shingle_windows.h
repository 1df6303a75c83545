// The one cutting of a text into shingles, which preparation, the comparison, the listing and the
// marks all go through. A window is cut from the text as typed: its shingle is its characters
// less the removed punctuation, up to its third space, less the spaces at its end, and its
// positions are those of the text as typed, so that the marks fall where the writer sees them.
// A prepared text, which holds no removed character, is cut the same way.
#pragma once

#include "analysis.h"
#include "character_scan.h"
#include "shingle_hash.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace analysis::detail {

// The first position from `from` on whose character preparation keeps, or the text's end.
inline std::size_t NextKept(std::u16string_view text, std::size_t from)
{
    while (from < text.size() && !Kept(text[from]))
        ++from;
    return from;
}

// Where a window of the shingle chain starts, and where it starts looking for spaces: the first
// window looks from the beginning, every later one from its second character, so that a space
// it starts with is not counted.
struct ChainState
{
    std::size_t start = 0;
    std::size_t examineFrom = 0;
};

inline ChainState FirstState(std::u16string_view text)
{
    return {NextKept(text, 0), 0};
}

struct Cut
{
    std::size_t start = 0;        // the shingle's first character
    std::size_t closingSpace = 0; // the third space counted, which closes the window
    std::size_t end = 0;          // after its last character; `start` when it is empty
    ChainState next;              // where the next window starts: after the first space counted
};

// The window at `state`, or nothing where fewer than three spaces follow.
std::optional<Cut> CutWindow(std::u16string_view text, ChainState state);

// Every window of a text from its start, in one pass over it, each given to `emit` with the
// hash of its shingle under `hash`: each word is hashed once as the pass goes over it, however
// many shingles hold it. CutWindow and ShingleHash::shingle give the same windows and hashes one
// at a time.
template <typename Emit>
void ForEachWindow(std::u16string_view text, const ShingleHash& hash, Emit&& emit)
{
    // The words seen last, numbered from the text's start; word k ends at space k.
    constexpr std::size_t Remembered = 8;
    std::array<std::uint64_t, Remembered> wordHash{};
    std::array<bool, Remembered> wordHasCharacters{};
    std::size_t words = 0; // words ended by a space so far
    // The spaces counted by the window being cut, with their numbers.
    std::size_t counted[ShingleLength];
    std::size_t countedNumber[ShingleLength];
    int known = 0;
    ChainState state = FirstState(text);
    std::size_t firstWord = 0; // the number of the window's first word
    std::size_t position = 0;
    const char16_t* const characters = text.data();
    const std::size_t size = text.size();
    SpaceScanner spaces(text);
    while (true) {
        while (known < ShingleLength) {
            // The next space, and how many removed characters the word it ends holds.
            const std::size_t wordStart = position;
            std::size_t removed = 0;
            position = spaces.nextSpace(position, removed);
            if (position == size)
                return;
            // Punctuation mostly stands at a word's ends: what lies between is hashed in place.
            std::u16string_view word(characters + wordStart, position - wordStart);
            while (removed != 0 && !Kept(word.front())) {
                word.remove_prefix(1);
                --removed;
            }
            while (removed != 0 && !Kept(word.back())) {
                word.remove_suffix(1);
                --removed;
            }
            wordHash[words % Remembered] = hash.word(
                word, removed != 0, size - static_cast<std::size_t>(word.data() - characters));
            wordHasCharacters[words % Remembered] =
                removed == 0 ? !word.empty() : !std::ranges::none_of(word, Kept);
            if (position >= state.examineFrom) {
                counted[known] = position;
                countedNumber[known] = words;
                ++known;
            }
            ++words;
            ++position;
        }
        // The shingle's words, less the empty ones at its end; at least its first.
        std::size_t lastWord = countedNumber[ShingleLength - 1];
        while (lastWord > firstWord && !wordHasCharacters[lastWord % Remembered])
            --lastWord;
        std::size_t end = counted[ShingleLength - 1];
        while (end > state.start && (characters[end - 1] == Space || !Kept(characters[end - 1])))
            --end;
        const std::size_t next = NextKept(text, counted[0] + 1);
        emit(Cut{state.start, counted[ShingleLength - 1], end, {next, next + 1}},
             hash.combine(lastWord - firstWord + 1, [&wordHash, firstWord](std::size_t i) {
                 return wordHash[(firstWord + i) % Remembered];
             }));

        // The next window's first word is the one after its first counted space; it looks for
        // spaces from its second character on.
        firstWord = countedNumber[0] + 1;
        state = {next, next + 1};
        int still = 0;
        for (int i = 1; i < known; ++i) {
            if (counted[i] >= state.examineFrom) {
                counted[still] = counted[i];
                countedNumber[still] = countedNumber[i];
                ++still;
            }
        }
        known = still;
    }
}

} // namespace analysis::detail
