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
    std::size_t wordCount() const { return idOfWord_.size(); }

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
    using Ids = std::unordered_map<std::u16string, std::uint32_t, KeyedStringHash, std::equal_to<>>;

    struct Stemmers;
    std::unique_ptr<Stemmers> stemmers_;
    Ids idOfWord_;
    Ids idOfFolded_;
};

} // namespace analysis
