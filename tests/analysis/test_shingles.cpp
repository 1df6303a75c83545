#include "analysis/analysis.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using analysis::ExtractShingles;
using analysis::PrepareText;
using analysis::ShingleList;

struct PreparationCase
{
    const char* name;
    std::u16string text;
    std::u16string prepared;
};

void PrintTo(const PreparationCase& c, std::ostream* os)
{
    *os << c.name;
}

class PrepareTextTest : public testing::TestWithParam<PreparationCase>
{
};

TEST_P(PrepareTextTest, RemovesExactlyThePunctuationSet)
{
    EXPECT_EQ(PrepareText(GetParam().text), GetParam().prepared);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PrepareTextTest,
    testing::Values(
        PreparationCase{"empty", u"", u""}, PreparationCase{"commaJoinsWords", u"a,b", u"ab"},
        PreparationCase{"fullStopLeavesSpace", u"end. Next", u"end Next"},
        PreparationCase{"hyphenLeavesTwoSpaces", u"a - b", u"a  b"},
        PreparationCase{"allSixteenRemoved", u"x,./-=)(+^#%@\"!?*y", u"xy"},
        PreparationCase{"othersKept", u":;'[]{}_$&\u00AB\u00BB\u201C\u201D\u201E\u2013\u2014\u2026",
                        u":;'[]{}_$&\u00AB\u00BB\u201C\u201D\u201E\u2013\u2014\u2026"},
        PreparationCase{"caseAndWhitespaceKept", u"Hello,\tWORLD!\r\n\u00A0x",
                        u"Hello\tWORLD\r\n\u00A0x"},
        PreparationCase{"sentence", u"Hello, world! This is a test.",
                        u"Hello world This is a test"},
        PreparationCase{"fullwidthLookalikesKept", u"a\uFF0Cb\uFF0E", u"a\uFF0Cb\uFF0E"},
        PreparationCase{"loneSurrogateKept", u"a\xD800-b",
                        u"a\xD800"
                        u"b"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ShingleCase
{
    const char* name;
    std::u16string text; // before preparation
    ShingleList shingles;
};

void PrintTo(const ShingleCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExtractShinglesTest : public testing::TestWithParam<ShingleCase>
{
};

TEST_P(ExtractShinglesTest, CutsTheWindowsInOrder)
{
    EXPECT_EQ(ExtractShingles(PrepareText(GetParam().text)), GetParam().shingles);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExtractShinglesTest,
    testing::Values(
        ShingleCase{"empty", u"", {}}, ShingleCase{"oneWord", u"word", {}},
        ShingleCase{"threeWordsNoTrailingSpace", u"one two three", {}},
        ShingleCase{"threeWordsTrailingSpace", u"one two three ", {u"one two three"}},
        ShingleCase{"finalWordBelongsToNone", u"a b c d e", {u"a b c", u"b c d"}},
        ShingleCase{"finalSpaceClosesLastWindow", u"a b c d e ", {u"a b c", u"b c d", u"c d e"}},
        ShingleCase{"punctuationRemovedFirst",
                    u"Hello, world! This is a test.",
                    {u"Hello world This", u"world This is", u"This is a"}},
        ShingleCase{"cyrillicSentencesJoin",
                    u"Мама мыла раму. Папа читал газету.",
                    {u"Мама мыла раму", u"мыла раму Папа", u"раму Папа читал"}},
        ShingleCase{"commaGlues", u"a,b c d e", {u"ab c d"}},
        ShingleCase{
            "keptMarksStayInWords",
            u"one, two; three: four. five! six? ",
            {u"one two; three:", u"two; three: four", u"three: four five", u"four five six"}},
        ShingleCase{"emDashIsAWord", u"слово — слово два три", {u"слово — слово", u"— слово два"}},
        ShingleCase{"removedHyphenLeavesEmptyWord", u"a - b c d e", {u"a  b", u" b c d"}},
        ShingleCase{"doubleSpaceInside", u"a b c  d e f", {u"a b c", u"b c", u"c  d"}},
        ShingleCase{"leadingSpaces", u"   a b c ", {u"", u"  a b", u"a b c"}},
        ShingleCase{"onlySpaces", u"      ", {u"", u""}},
        ShingleCase{"lineBreakStaysInsideWord",
                    u"a b c\r\nd e f ",
                    {u"a b c\r\nd", u"b c\r\nd e", u"c\r\nd e f"}},
        ShingleCase{
            "repeatsListedTwice", u"a b c a b c ", {u"a b c", u"b c a", u"c a b", u"a b c"}},
        ShingleCase{"tabAndNoBreakSpaceAreWordCharacters",
                    u"a\tb c\u00A0d e f g",
                    {u"a\tb c\u00A0d e", u"c\u00A0d e f"}},
        ShingleCase{"hyphenatedPhrase",
                    u"Недостатками навигационных систем GPS служат - недоступность сигнала GPS в "
                    u"бетонных помещениях",
                    {u"Недостатками навигационных систем", u"навигационных систем GPS",
                     u"систем GPS служат", u"GPS служат", u"служат  недоступность",
                     u" недоступность сигнала GPS", u"сигнала GPS в", u"GPS в бетонных"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtractShingles, NeverMoreShinglesThanSpaces)
{
    for (const std::u16string text : {u" ", u"  ", u"   ", u"a  b  c  ", u"          x"}) {
        const auto spaces = std::count(text.begin(), text.end(), u' ');
        EXPECT_LE(static_cast<long>(ExtractShingles(text).size()), spaces);
    }
}

} // namespace
