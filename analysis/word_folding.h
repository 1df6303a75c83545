// Words folded as the uniqueness checkers a rewrite is judged by afterwards read them: in lower
// case, "ё" read as "е", and reduced to its stem by the Snowball stemmer, the Russian one for a
// word with Cyrillic letters and the English one for a word with Latin letters. "проверка
// текста" and "проверки текстов" fold alike. Each distinct word is folded once and named by an id
// of its folded form, equal for words that fold alike.
#pragma once

#include "growing_table.h"
#include "keyed_hash.h"

#include <cstdint>
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
    std::size_t wordCount() const { return spellings_.size(); }

private:
    // Strings each kept once, in one pool, and found by a hash under a key the text cannot know,
    // so that no text makes the lookups crowd: a slot of 16 bytes, one allocation for the slots
    // and one for the characters, however many strings.
    class StringTable
    {
    public:
        StringTable();
        // The value kept with `text`, or null.
        const std::uint32_t* find(std::u16string_view text) const;
        // Keeps `text`, which is not yet kept, with `value`; false when the pool is full.
        bool insert(std::u16string_view text, std::uint32_t value);
        std::size_t size() const { return slots_.size(); }

    private:
        struct Slot
        {
            std::uint32_t hash; // the low bits of the text's
            std::uint32_t value;
            std::uint32_t end; // in the pool, past the place it opens with: 0 only when free
            std::uint32_t length;

            bool isFree() const { return end == 0; }
            std::uint32_t hashBits() const { return hash; }
        };

        detail::HashKey key_;
        std::u16string pool_;
        detail::GrowingTable<Slot> slots_;
    };

    struct Stemmers;
    std::unique_ptr<Stemmers> stemmers_;
    // A word as it was seen, with its fold's id.
    StringTable spellings_;
    // A fold, with its id: the folds in the order they were first made.
    StringTable folds_;
    // The folds made once the pool of folds was full.
    std::unordered_map<std::u16string, std::uint32_t> overflowingFolds_;
};

} // namespace analysis
