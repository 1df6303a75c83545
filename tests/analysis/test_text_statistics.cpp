#include "analysis/analysis.h"

#include <gtest/gtest.h>

namespace {

struct StatisticsCase
{
    const char* name;
    std::u16string text;
    std::int32_t characters;
    std::int32_t words;
};

void PrintTo(const StatisticsCase& c, std::ostream* os)
{
    *os << c.name;
}

class ComputeTextStatisticsTest : public testing::TestWithParam<StatisticsCase>
{
};

TEST_P(ComputeTextStatisticsTest, CountsCharactersAndWords)
{
    const analysis::TextStatistics statistics = analysis::ComputeTextStatistics(GetParam().text);
    EXPECT_EQ(statistics.CharactersWithoutSpaces, GetParam().characters);
    EXPECT_EQ(statistics.WordCount, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ComputeTextStatisticsTest,
    testing::Values(
        StatisticsCase{"empty", u"", 0, 0},
        StatisticsCase{"lastCharacterDropped", u"Hello world", 10, 2},
        StatisticsCase{"oneLetterLastWord", u"a b", 2, 1},
        StatisticsCase{"finalStop", u"a b.", 3, 2}, StatisticsCase{"doubleSpace", u"a  b", 2, 1},
        StatisticsCase{"onlySpaces", u"   ", 0, 0}, StatisticsCase{"oneCharacter", u"x", 1, 0},
        StatisticsCase{"cyrillicFinalOneLetter", u"Иду я", 4, 1},
        StatisticsCase{"cyrillicTwoWords", u"Я иду", 4, 2},
        StatisticsCase{"punctuatedGreeting", u"Привет, мир!", 11, 2},
        StatisticsCase{"arithmetic", u"2 + 2 = 4", 5, 2},
        StatisticsCase{"dash", u"Текст - это текст.", 15, 3},
        StatisticsCase{"dollarNotAWord", u"Цена 100 $ (без НДС)!", 17, 4},
        StatisticsCase{"commaIsAWord", u"a , b.", 4, 3},
        StatisticsCase{"lineBreakJoins", u"один\r\nдва", 9, 1},
        StatisticsCase{"tabJoins", u"a\tb c", 4, 1}, StatisticsCase{"leadingSpace", u" a b", 2, 1},
        StatisticsCase{"trailingSpaceEndsWord", u"слово ", 5, 1},
        StatisticsCase{"noBreakSpaceIsACharacter", u"a\u00A0b c", 4, 1},
        StatisticsCase{"doubleHyphenIsAWord", u"-- x ", 3, 2},
        StatisticsCase{"everyNonWordToken", u"- ( ) = _ + % $ @ ! ? / x", 13, 0},
        StatisticsCase{"surrogatePairIsTwoCharacters", u"\U0001F600 ok", 4, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComputeTextStatistics, WordCountHasNo16BitLimit)
{
    std::u16string text;
    for (int i = 0; i < 20'000; ++i)
        text += u"ab ";
    // 60,000 characters: the 20,000th "ab" ends the text's tokens with the final space.
    const analysis::TextStatistics statistics = analysis::ComputeTextStatistics(text);
    EXPECT_EQ(statistics.CharactersWithoutSpaces, 40'000);
    EXPECT_EQ(statistics.WordCount, 20'000);
}

} // namespace
