// The fast analysis code against the literal transcriptions, on many generated texts.
#include "analysis/analysis.h"
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

TEST_P(AgainstReference, Comparison)
{
    testsupport::TextGenerator generator(static_cast<unsigned>(GetParam()) + 1000);
    for (int i = 0; i < 100; ++i) {
        // A small vocabulary and shared passages make matches and repeats frequent.
        const std::u16string source = generator.text(generator.number(0, 150));
        const std::u16string newText = generator.mixed(source, generator.number(0, 150));
        const auto newList = analysis::ExtractShingles(analysis::PrepareText(newText));
        const auto sourceList = analysis::ExtractShingles(analysis::PrepareText(source));

        analysis::ComparisonResult expected;
        const bool compared = reference::CompareShingleLists(newList, sourceList, expected);
        const analysis::ComparisonOutcome outcome =
            analysis::CompareShingleLists(newList, sourceList);
        ASSERT_EQ(std::holds_alternative<analysis::ComparisonResult>(outcome), compared);
        if (!compared)
            continue;
        const auto& actual = std::get<analysis::ComparisonResult>(outcome);
        ASSERT_EQ(actual.NewShingleCount, expected.NewShingleCount);
        ASSERT_EQ(actual.SourceShingleCount, expected.SourceShingleCount);
        ASSERT_EQ(actual.MatchCount, expected.MatchCount);
        ASSERT_EQ(actual.Percentage, expected.Percentage);
        ASSERT_EQ(actual.MatchListing, expected.MatchListing);
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
