// The compare the program runs, RepeatTracker::compare: its figures, its listing and where each
// entry starts, for the design's cases.
#include "analysis/analysis.h"
#include "analysis/repeat_tracker.h"

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

ComparisonOutcome Outcome(std::u16string_view newText, std::u16string_view source)
{
    analysis::RepeatTracker tracker;
    return tracker.compare(std::u16string(newText), std::u16string(source));
}

ComparisonResult Compared(std::u16string_view newText, std::u16string_view source)
{
    const ComparisonOutcome outcome = Outcome(newText, source);
    EXPECT_TRUE(std::holds_alternative<ComparisonResult>(outcome));
    return std::holds_alternative<ComparisonResult>(outcome) ? std::get<ComparisonResult>(outcome)
                                                             : ComparisonResult{};
}

// `words` words with one space between each: `words` - 3 shingles.
std::u16string Words(const std::u16string& word, int words)
{
    std::u16string text;
    for (int i = 0; i < words; ++i)
        text += (i == 0 ? u"" : u" ") + word;
    return text;
}

// The listing is its entries, each ended by a carriage return, where the recorded starts say,
// and after them the closing line, where entries were left out.
void ExpectEntriesWhereTheyStart(const ComparisonResult& result)
{
    const std::vector<std::size_t>& starts = result.listingEntryStarts;
    ASSERT_FALSE(starts.empty());
    const auto entries = static_cast<std::int64_t>(starts.size()) - 1;
    ASSERT_LE(entries, result.MatchCount);
    ASSERT_EQ(starts.front(), 0u);
    for (std::size_t e = 1; e < starts.size(); ++e) {
        ASSERT_GT(starts[e], starts[e - 1]);
        ASSERT_EQ(result.MatchListing[starts[e] - 1], u'\r');
    }
    const std::u16string closing = result.MatchListing.substr(starts.back());
    EXPECT_EQ(closing.empty(), entries == result.MatchCount);
    EXPECT_EQ(closing.empty() || closing.starts_with(u"\u2026 (+"), true);
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

class CompareTest : public testing::TestWithParam<ComparisonCase>
{
};

TEST_P(CompareTest, CountsListsAndRates)
{
    const ComparisonCase& c = GetParam();
    const ComparisonResult result = Compared(c.newText, c.source);
    EXPECT_EQ(result.MatchCount, c.matchCount);
    EXPECT_EQ(result.Percentage, c.percentage);
    // Sizes first: a failing comparison of listings of megabytes would print them whole.
    ASSERT_EQ(result.MatchListing.size(), c.listing.size());
    EXPECT_EQ(result.MatchListing, c.listing);
    EXPECT_EQ(result.isUnique(), c.percentage == 0);
    ExpectEntriesWhereTheyStart(result);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CompareTest,
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
        ComparisonCase{"lineBreakInAShingle", u"a b c\r\nd e f g", u"x a b c\r\nd e f g", 3, 85,
                       u"a b c\r\nd\rb c\r\nd e\rc\r\nd e f\r"},
        ComparisonCase{"emptyShinglesMatchEachOther", u"       ", u"       ", 9, 100,
                       u"\r\r\r\r\r\r\r\r\r"},
        ComparisonCase{"oneMatchBelowOnePercentIsUnique",
                       Words(u"n", 100) + u" p q r " + Words(u"m", 100),
                       Words(u"s", 100) + u" p q r " + Words(u"t", 100), 1, 0, u"p q r\r"},
        ComparisonCase{"listingIsBoundedButCountsStayExact", Words(u"да", 403), Words(u"да", 403),
                       160'000, 100,
                       [] {
                           std::u16string listing;
                           for (int i = 0; i < 100'000; ++i)
                               listing += u"да да да\r";
                           return listing + u"\u2026 (+60000)\r";
                       }()},
        ComparisonCase{"listingAtTheBoundHasNoSummaryLine", Words(u"a", 253), Words(u"a", 403),
                       100'000, 100,
                       [] {
                           std::u16string listing;
                           for (int i = 0; i < 100'000; ++i)
                               listing += u"a a a\r";
                           return listing;
                       }()},
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

TEST(Compare, InitialPanesGiveTheirListSizes)
{
    const ComparisonResult result = std::get<ComparisonResult>(Outcome(
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
    const auto shingles = [](std::size_t count) {
        return count == 0 ? std::u16string() : Words(u"a", static_cast<int>(count) + 3);
    };
    const ComparisonOutcome outcome =
        Outcome(shingles(GetParam().newCount), shingles(GetParam().sourceCount));
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

TEST(Compare, FiveWordsAreTooFewSixAreEnough)
{
    EXPECT_TRUE(std::holds_alternative<analysis::TooFewShingles>(
        Outcome(u"one two three four five", CatSource)));
    EXPECT_TRUE(
        std::holds_alternative<analysis::TooFewShingles>(Outcome(u"Short text here.", CatSource)));
    EXPECT_TRUE(std::holds_alternative<ComparisonResult>(
        Outcome(u"one two three four five six", CatSource)));
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

TEST(VerdictCaption, FollowsThePercentage)
{
    ComparisonResult result;
    result.Percentage = 0;
    EXPECT_EQ(analysis::VerdictCaption(result), u"Текст уникален");
    result.Percentage = 1;
    EXPECT_EQ(analysis::VerdictCaption(result), u"Текст не уникален");
}

} // namespace
