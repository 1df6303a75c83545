#include "analysis/analysis.h"

#include <gtest/gtest.h>

namespace {

using analysis::ComparisonOutcome;
using analysis::ComparisonResult;

const std::u16string CatSource = u"The cat sat on the warm mat all day.";

// "x y z x y " with words as long as make each of its three shingles `shingleLength` long.
std::u16string ThreeLongShingles(std::size_t shingleLength)
{
    const std::size_t word = (shingleLength - 2) / 3;
    const std::u16string x(word, u'x');
    const std::u16string y(word, u'y');
    const std::u16string z(shingleLength - 2 - 2 * word, u'z');
    return x + u' ' + y + u' ' + z + u' ' + x + u' ' + y + u' ';
}

// The longest shingle whose entry still fits in a listing.
constexpr std::size_t LongestListedShingle =
    analysis::MatchListingCharacterLimit - analysis::LongestListingSummary - 1;

ComparisonResult Compared(std::u16string_view newText, std::u16string_view source)
{
    const ComparisonOutcome outcome =
        analysis::CompareShingleLists(analysis::ExtractShingles(analysis::PrepareText(newText)),
                                      analysis::ExtractShingles(analysis::PrepareText(source)));
    EXPECT_TRUE(std::holds_alternative<ComparisonResult>(outcome));
    return std::holds_alternative<ComparisonResult>(outcome) ? std::get<ComparisonResult>(outcome)
                                                             : ComparisonResult{};
}

struct ComparisonCase
{
    const char* name;
    std::u16string newText;
    std::u16string source;
    std::int64_t matchCount;
    int percentage;
    std::u16string listing;
};

void PrintTo(const ComparisonCase& c, std::ostream* os)
{
    *os << c.name;
}

class CompareTextsTest : public testing::TestWithParam<ComparisonCase>
{
};

TEST_P(CompareTextsTest, CountsListsAndRates)
{
    const ComparisonCase& c = GetParam();
    const ComparisonResult result = Compared(c.newText, c.source);
    EXPECT_EQ(result.MatchCount, c.matchCount);
    EXPECT_EQ(result.Percentage, c.percentage);
    // Sizes first: a failing comparison of listings of megabytes would print them whole.
    ASSERT_EQ(result.MatchListing.size(), c.listing.size());
    EXPECT_EQ(result.MatchListing, c.listing);
    EXPECT_EQ(result.isUnique(), c.percentage == 0);

    // The one-call road gives the same result as the separate steps.
    const ComparisonOutcome direct = analysis::CompareTexts(c.newText, c.source);
    ASSERT_TRUE(std::holds_alternative<ComparisonResult>(direct));
    EXPECT_EQ(std::get<ComparisonResult>(direct).MatchListing, c.listing);
    EXPECT_EQ(std::get<ComparisonResult>(direct).MatchCount, c.matchCount);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CompareTextsTest,
    testing::Values(
        ComparisonCase{"partlyShared", u"A cat sat on the warm sofa all day.", CatSource, 3, 50,
                       u"cat sat on\rsat on the\ron the warm\r"},
        ComparisonCase{"unique", u"Yesterday a dog slept under the old table quietly.", CatSource,
                       0, 0, u""},
        ComparisonCase{"shorterNewText", u"cat sat on the warm mat", CatSource, 3, 66,
                       u"cat sat on\rsat on the\ron the warm\r"},
        ComparisonCase{"identical", CatSource, CatSource, 6, 100,
                       u"The cat sat\rcat sat on\rsat on the\ron the warm\rthe warm mat\r"
                       u"warm mat all\r"},
        ComparisonCase{"repeatsMultiplyAndCap", u"x y z x y z x y z", u"x y z x y z x y z", 12, 100,
                       u"x y z\rx y z\ry z x\ry z x\rz x y\rz x y\r"
                       u"x y z\rx y z\ry z x\ry z x\rz x y\rz x y\r"},
        ComparisonCase{"caseSensitive", u"the cat sat on the warm mat all day.", CatSource, 5, 83,
                       u"cat sat on\rsat on the\ron the warm\rthe warm mat\rwarm mat all\r"},
        ComparisonCase{"punctuationDoesNotPreventMatch",
                       u"Hello world this is a simple testcase isnt it",
                       u"Hello, world! This is a (simple) test-case, isn't it?", 2, 33,
                       u"is a simple\ra simple testcase\r"},
        ComparisonCase{"leadingSpaceMakesShinglesDiffer", u"a - b c d e f g", u"a b c d e f g", 2,
                       50, u"c d e\rd e f\r"},
        ComparisonCase{
            "initialPanes",
            u"Системы глобального позиционирования обеспечивают непрерывную навигацию практически "
            u"в любой точке земного шара. Недостатками навигационных систем GPS служат - "
            u"недоступность сигнала GPS в бетонных помещениях и в условиях сильной облачности.",
            u"Недостатками навигационных систем типа GPS является их практическая неприменимость в "
            u"условиях сильной облачности, а так же в местах с отсутствием прямой видимости "
            u"небосвода\u2026",
            2, 8, u"Недостатками навигационных систем\rв условиях сильной\r"},
        ComparisonCase{"listingEndsWhereTheNextEntryWouldPassItsLength",
                       ThreeLongShingles(LongestListedShingle),
                       ThreeLongShingles(LongestListedShingle), 3, 100,
                       ThreeLongShingles(LongestListedShingle).substr(0, LongestListedShingle) +
                           u"\r\u2026 (+2)\r"},
        ComparisonCase{"shingleLongerThanTheListingLeavesOnlyTheSummary",
                       ThreeLongShingles(LongestListedShingle + 1),
                       ThreeLongShingles(LongestListedShingle + 1), 3, 100, u"\u2026 (+3)\r"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompareShingleLists, InitialPanesGiveTheirListSizes)
{
    const ComparisonResult result = std::get<ComparisonResult>(analysis::CompareTexts(
        u"Системы глобального позиционирования обеспечивают непрерывную навигацию практически "
        u"в любой точке земного шара. Недостатками навигационных систем GPS служат - "
        u"недоступность сигнала GPS в бетонных помещениях и в условиях сильной облачности.",
        u"Недостатками навигационных систем типа GPS является их практическая неприменимость в "
        u"условиях сильной облачности, а так же в местах с отсутствием прямой видимости "
        u"небосвода\u2026"));
    EXPECT_EQ(result.NewShingleCount, 25);
    EXPECT_EQ(result.SourceShingleCount, 20);
}

struct SizeCheckCase
{
    const char* name;
    std::size_t newCount;
    std::size_t sourceCount;
    bool compared;
};

void PrintTo(const SizeCheckCase& c, std::ostream* os)
{
    *os << c.name;
}

class SizeCheckTest : public testing::TestWithParam<SizeCheckCase>
{
};

TEST_P(SizeCheckTest, BothListsNeedThreeShingles)
{
    const analysis::ShingleList newText(GetParam().newCount, u"a b c");
    const analysis::ShingleList source(GetParam().sourceCount, u"a b c");
    const ComparisonOutcome outcome = analysis::CompareShingleLists(newText, source);
    EXPECT_EQ(std::holds_alternative<ComparisonResult>(outcome), GetParam().compared);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizeCheckTest,
                         testing::Values(SizeCheckCase{"bothEmpty", 0, 0, false},
                                         SizeCheckCase{"newTwo", 2, 3, false},
                                         SizeCheckCase{"sourceTwo", 3, 2, false},
                                         SizeCheckCase{"bothTwo", 2, 2, false},
                                         SizeCheckCase{"bothThree", 3, 3, true},
                                         SizeCheckCase{"newEmptySourceLong", 0, 50, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CompareTexts, FiveWordsAreTooFewSixAreEnough)
{
    EXPECT_TRUE(std::holds_alternative<analysis::TooFewShingles>(
        analysis::CompareTexts(u"one two three four five", CatSource)));
    EXPECT_TRUE(std::holds_alternative<analysis::TooFewShingles>(
        analysis::CompareTexts(u"Short text here.", CatSource)));
    EXPECT_TRUE(std::holds_alternative<ComparisonResult>(
        analysis::CompareTexts(u"one two three four five six", CatSource)));
}

struct PercentageCase
{
    std::int64_t matches;
    std::int64_t newCount;
    std::int64_t sourceCount;
    int percentage;
};

void PrintTo(const PercentageCase& c, std::ostream* os)
{
    *os << c.matches << " of " << c.newCount << "+" << c.sourceCount;
}

class PercentageTest : public testing::TestWithParam<PercentageCase>
{
};

TEST_P(PercentageTest, DoublePrecisionStepByStep)
{
    const PercentageCase& c = GetParam();
    EXPECT_EQ(analysis::ComputePercentage(c.matches, c.newCount, c.sourceCount), c.percentage);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PercentageTest,
    testing::Values(PercentageCase{29, 100, 100, 28}, PercentageCase{57, 100, 100, 56},
                    PercentageCase{29, 50, 50, 57}, PercentageCase{14, 50, 50, 28},
                    PercentageCase{1, 200, 200, 0}, PercentageCase{3, 3, 6, 66},
                    PercentageCase{0, 3, 3, 0}, PercentageCase{12, 6, 6, 100},
                    PercentageCase{3, 3, 3, 100},
                    PercentageCase{10'000'000'000, 100'000, 100'000, 100}));

TEST(CompareShingleLists, OneMatchBelowOnePercentIsUnique)
{
    analysis::ShingleList newText(200, u"n");
    analysis::ShingleList source(200, u"s");
    newText[7] = source[150] = u"shared one";
    const auto result = std::get<ComparisonResult>(analysis::CompareShingleLists(newText, source));
    EXPECT_EQ(result.MatchCount, 1);
    EXPECT_EQ(result.Percentage, 0);
    EXPECT_TRUE(result.isUnique());
    EXPECT_EQ(result.MatchListing, u"shared one\r");
    EXPECT_EQ(analysis::VerdictCaption(result), u"Текст уникален");
}

TEST(CompareShingleLists, ListingIsBoundedButCountsStayExact)
{
    // 400 x 400 equal shingles: 160,000 pairs, more than the listing keeps.
    const analysis::ShingleList same(400, u"да да да");
    const auto result = std::get<ComparisonResult>(analysis::CompareShingleLists(same, same));
    EXPECT_EQ(result.MatchCount, 160'000);
    EXPECT_EQ(result.Percentage, 100);
    std::u16string expected;
    for (int i = 0; i < 100'000; ++i)
        expected += u"да да да\r";
    expected += u"\u2026 (+60000)\r";
    EXPECT_EQ(result.MatchListing, expected);
}

TEST(CompareShingleLists, ListingAtTheBoundHasNoSummaryLine)
{
    const analysis::ShingleList newText(250, u"a b c");
    const analysis::ShingleList source(400, u"a b c");
    const auto result = std::get<ComparisonResult>(analysis::CompareShingleLists(newText, source));
    EXPECT_EQ(result.MatchCount, 100'000);
    EXPECT_EQ(result.MatchListing.size(), 100'000u * 6);
    EXPECT_EQ(result.MatchListing.substr(result.MatchListing.size() - 6), u"a b c\r");
}

TEST(VerdictCaption, FollowsThePercentage)
{
    ComparisonResult result;
    result.Percentage = 0;
    EXPECT_EQ(analysis::VerdictCaption(result), u"Текст уникален");
    result.Percentage = 1;
    EXPECT_EQ(analysis::VerdictCaption(result), u"Текст не уникален");
}

} // namespace

namespace {

TEST(CompareShingleLists, EmptyShinglesMatchEachOther)
{
    // Runs of spaces give empty shingles, which are shingles like any other.
    const analysis::ShingleList spaces(3, u"");
    const analysis::ShingleViews spaceViews(spaces.begin(), spaces.end());
    const analysis::ShingleViews empty(3); // views that hold no pointer
    const auto result =
        std::get<ComparisonResult>(analysis::CompareShingleViews(spaceViews, empty));
    EXPECT_EQ(result.MatchCount, 9);
    EXPECT_EQ(result.MatchListing, u"\r\r\r\r\r\r\r\r\r");
}

} // namespace

struct EntryLines
{
    const char* name;
    std::u16string listing;
    std::size_t entries;
    std::vector<std::size_t> lines;
};

class ListingEntryLinesTest : public testing::TestWithParam<EntryLines>
{
};

TEST_P(ListingEntryLinesTest, EachEntryBeginsAfterALoneCarriageReturn)
{
    EXPECT_EQ(analysis::ListingEntryLines(GetParam().listing, GetParam().entries),
              GetParam().lines);
}

// A shingle holding a line break takes two lines; the closing "… (+K)" line is no entry.
INSTANTIATE_TEST_SUITE_P(
    Listings, ListingEntryLinesTest,
    testing::Values(EntryLines{"empty", u"", 0, {}},
                    EntryLines{"oneALine", u"a b c\rb c d\r", 2, {0, 1}},
                    EntryLines{"lineBreakInAShingle", u"a b\r\nc\rd e f\r", 2, {0, 2}},
                    EntryLines{"breakEndingAShingle", u"a b c\r\n\rd e f\r", 2, {0, 2}},
                    EntryLines{"closingLine", u"a b c\ra b c\r\u2026 (+7)\r", 2, {0, 1}}),
    [](const testing::TestParamInfo<EntryLines>& info) { return std::string(info.param.name); });
