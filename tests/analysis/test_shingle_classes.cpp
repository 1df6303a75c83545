#include "analysis/shingle_classes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using analysis::detail::ClassCharacters;
using analysis::detail::ShingleClasses;
using analysis::detail::ShingleHash;

// Distinct words of one text, each standing for a shingle of its own.
struct DistinctWords
{
    explicit DistinctWords(int count)
    {
        for (int i = 0; i < count; ++i) {
            const std::size_t start = text.size();
            for (const char c : "w" + std::to_string(i))
                text += static_cast<char16_t>(c);
            ranges.emplace_back(start, text.size());
            text += u' ';
        }
    }

    ClassCharacters characters(std::uint32_t word) const
    {
        return {text, ranges[word].first, ranges[word].second};
    }

    std::u16string text;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
};

// A table whose classes mostly died grows into one no larger than itself: its old slots move a
// few at each lookup, and it does not grow again, moving every slot at once, before they are
// all moved.
TEST(ShingleClasses, GrowsOnlyOnceItsOldSlotsAreMoved)
{
    const DistinctWords words(20'000);
    const ShingleHash hash;
    ShingleClasses classes(16, hash);
    const auto resolve = [&words](int, std::uint32_t word) { return words.characters(word); };
    std::vector<std::uint32_t> classOfWord;
    int growths = 0;
    std::size_t toMove = 0;
    for (std::uint32_t word = 0; word < words.ranges.size(); ++word) {
        const ClassCharacters characters = words.characters(word);
        const std::uint32_t shingleClass =
            classes.classOf(characters, hash.shingle(words.text, characters.start, characters.end),
                            0, word, resolve);
        classes.add(shingleClass, 0);
        classOfWord.push_back(shingleClass);
        // Each word lives only until the next ones come: most classes have died when it grows.
        if (word >= 8)
            classes.remove(classOfWord[word - 8], 0);
        if (classes.slotsToMove() > toMove) {
            ++growths;
            ASSERT_EQ(toMove, 0u) << "grew again at word " << word;
        }
        toMove = classes.slotsToMove();
    }
    EXPECT_GT(growths, 3);
}

} // namespace
