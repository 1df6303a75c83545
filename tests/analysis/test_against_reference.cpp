// The fast analysis code against the literal transcriptions, on many generated texts.
#include "analysis/analysis.h"
#include "analysis/shingle_windows.h"
#include "support/reference.h"
#include "support/text_generator.h"

#include <gtest/gtest.h>

namespace {

class AgainstReference : public testing::TestWithParam<int>
{
};

TEST_P(AgainstReference, PreparationAndShingles)
{
    testsupport::TextGenerator generator(static_cast<unsigned>(GetParam()));
    for (int i = 0; i < 200; ++i) {
        const std::u16string text = generator.text(generator.number(0, 120));
        const std::u16string prepared = analysis::PrepareText(text);
        ASSERT_EQ(prepared, reference::PrepareText(text));
        ASSERT_EQ(analysis::ExtractShingles(prepared), reference::ExtractShingles(prepared));
    }
}

// The one pass of the compare cuts the windows one at a time would give, with the same hashes,
// under the fixed hash and a keyed one.
TEST_P(AgainstReference, OnePassCutsAsWindowByWindow)
{
    testsupport::TextGenerator generator(static_cast<unsigned>(GetParam()) + 1000);
    const analysis::detail::ShingleHash hashes[] = {
        analysis::detail::ShingleHash(),
        analysis::detail::ShingleHash(analysis::detail::HashKey{1, 2})};
    for (int i = 0; i < 100; ++i) {
        const std::u16string text = generator.text(generator.number(0, 120));
        for (const analysis::detail::ShingleHash& hash : hashes) {
            std::optional<analysis::detail::Cut> expected =
                analysis::detail::CutWindow(text, analysis::detail::FirstState(text));
            analysis::detail::ForEachWindow(
                text, hash, [&](const analysis::detail::Cut& cut, std::uint64_t shingleHash) {
                    ASSERT_TRUE(expected);
                    ASSERT_EQ(cut.start, expected->start);
                    ASSERT_EQ(cut.closingSpace, expected->closingSpace);
                    ASSERT_EQ(cut.end, expected->end);
                    ASSERT_EQ(shingleHash, hash.shingle(text, cut.start, cut.end));
                    expected = analysis::detail::CutWindow(text, expected->next);
                });
            ASSERT_FALSE(expected);
        }
    }
}

TEST_P(AgainstReference, Statistics)
{
    testsupport::TextGenerator generator(static_cast<unsigned>(GetParam()) + 2000);
    for (int i = 0; i < 300; ++i) {
        const std::u16string text = generator.text(generator.number(0, 60));
        const analysis::TextStatistics actual = analysis::ComputeTextStatistics(text);
        const analysis::TextStatistics expected = reference::ComputeTextStatistics(text);
        ASSERT_EQ(actual.CharactersWithoutSpaces, expected.CharactersWithoutSpaces);
        ASSERT_EQ(actual.WordCount, expected.WordCount);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, AgainstReference, testing::Range(1, 21));

} // namespace
