// Words folded as the uniqueness checkers a rewrite is judged by afterwards read them: in lower
// case, "ё" read as "е", and reduced to its stem by the Snowball stemmer, the Russian one for a
// word with Cyrillic letters and the English one for a word with Latin letters. "проверка
// текста" and "проверки текстов" fold alike. Each distinct word is folded once and named by an id
// of its folded form, equal for words that fold alike.
#pragma once

#include "keyed_hash.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace analysis {

class WordFolding
{
public:
    WordFolding();
    ~WordFolding();
    WordFolding(const WordFolding&) = delete;
    WordFolding& operator=(const WordFolding&) = delete;

    // The id of a word's folded form; the word is the characters preparation keeps, and holds
    // no space.
    std::uint32_t foldedId(std::u16string_view word);
    // A word's folded form.
    std::u16string fold(std::u16string_view word);
    // Distinct words folded so far.
    std::size_t wordCount() const { return wordCount_; }

private:
    // Looked up under a key the text cannot know, so that no text makes the lookups crowd.
    struct KeyedStringHash
    {
        using is_transparent = void; // NOLINT(readability-identifier-naming): the standard's
        detail::HashKey key;
        std::size_t operator()(std::u16string_view text) const
        {
            return static_cast<std::size_t>(detail::SipHash(key, text));
        }
    };
    // A word seen: where its spelling lies in `spellings_`, and its fold's id. Open addressing,
    // a hash of 0 marking a free slot: one allocation for the slots and one for the spellings,
    // however many words, so that they are made and freed at once.
    struct Seen
    {
        std::uint64_t hash = 0;
        std::uint32_t start = 0;
        std::uint32_t length = 0;
        std::uint32_t id = 0;
    };
    void grow();

    struct Stemmers;
    std::unique_ptr<Stemmers> stemmers_;
    detail::HashKey wordKey_;
    std::u16string spellings_;
    std::vector<Seen> seen_;
    std::size_t wordCount_ = 0;
    std::unordered_map<std::u16string, std::uint32_t, KeyedStringHash, std::equal_to<>> idOfFolded_;
};

} // namespace analysis
