// Words folded as the uniqueness checkers a rewrite is judged by afterwards read them: in lower
// case, "ё" read as "е", and reduced to its stem by the Snowball stemmer, the Russian one for a
// word with Cyrillic letters and the English one for a word with Latin letters. "проверка
// текста" and "проверки текстов" fold alike. Each distinct word is folded once and named by a
// hash of its folded form, equal for words that fold alike.
#pragma once

#include "growing_table.h"
#include "keyed_hash.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace analysis {

class WordFolding
{
public:
    WordFolding();
    ~WordFolding();
    WordFolding(const WordFolding&) = delete;
    WordFolding& operator=(const WordFolding&) = delete;

    // The name of a word's folded form: a hash of the fold under a key that no text can know,
    // equal for words that fold alike and for different folds but once in 2^64. The word is the
    // characters preparation keeps, and holds no space.
    std::uint64_t foldedId(std::u16string_view word);
    // A word's folded form.
    std::u16string fold(std::u16string_view word);
    // Distinct words folded so far.
    std::size_t wordCount() const { return spellings_.size(); }

private:
    // Each word seen, by the hash of its spelling under the same key, with its fold's name: 16
    // bytes a distinct word however long it is, and neither the word nor its fold kept.
    struct Stemmers;
    std::unique_ptr<Stemmers> stemmers_;
    detail::HashKey key_;
    detail::HashedValues<std::uint64_t> spellings_;
};

} // namespace analysis
