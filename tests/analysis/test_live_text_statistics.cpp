// The live figures kept through edits against a fresh count of the whole text after every edit.
#include "analysis/analysis.h"
#include "support/edited_text.h"
#include "support/text_generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::EditedText;

void ExpectFresh(const EditedText& edited)
{
    const std::u16string text = edited.text();
    const analysis::TextStatistics fresh = analysis::ComputeTextStatistics(text);
    const analysis::TextStatistics kept = edited.live().statistics();
    ASSERT_EQ(kept.CharactersWithoutSpaces, fresh.CharactersWithoutSpaces)
        << testing::PrintToString(std::string(text.begin(), text.end()));
    ASSERT_EQ(kept.WordCount, fresh.WordCount)
        << testing::PrintToString(std::string(text.begin(), text.end()));
    ASSERT_EQ(edited.live().paragraphCount(), edited.paragraphs().size());
}

struct EditCase
{
    const char* name;
    std::vector<std::u16string> initial;
    std::size_t first;
    std::size_t count;
    std::vector<std::u16string> added;
    std::vector<bool> continues = {}; // of the added: after a space, not CR LF
};

void PrintTo(const EditCase& c, std::ostream* os)
{
    *os << c.name;
}

class LiveTextStatisticsEdit : public testing::TestWithParam<EditCase>
{
};

// Edits at the places where the rules look at neighbours: the last character and the one before
// it, the first character, spaces on either side of a line break, empty paragraphs.
TEST_P(LiveTextStatisticsEdit, EqualsAFreshCount)
{
    EditedText text;
    text.replace(0, 1, GetParam().initial);
    ExpectFresh(text);
    text.replace(GetParam().first, GetParam().count, GetParam().added, GetParam().continues);
    ExpectFresh(text);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, LiveTextStatisticsEdit,
    testing::Values(
        EditCase{"typeIntoEmpty", {u""}, 0, 1, {u"a"}},
        EditCase{"lastLetterDroppedThenSpace", {u"Hello world"}, 0, 1, {u"Hello world "}},
        EditCase{"oneLetterLastWord", {u"a"}, 0, 1, {u"a b"}},
        EditCase{"emptyAll", {u"a b", u"c d"}, 0, 2, {u""}},
        EditCase{"splitAtSpace", {u"a b c"}, 0, 1, {u"a ", u"b c"}},
        EditCase{"lineBreakAfterSpaceEndsAToken", {u"слово "}, 0, 1, {u"слово ", u""}},
        EditCase{"emptyLastParagraph", {u"x -", u"y"}, 1, 1, {u""}},
        EditCase{"nonWordBeforeTheEnd", {u"a b"}, 0, 1, {u"a - b"}},
        EditCase{"nonWordAtTheEnd", {u"a b"}, 0, 1, {u"a b -"}},
        EditCase{"nonWordAtTheStart", {u"x"}, 0, 1, {u"- x y"}},
        EditCase{"spacesOnly", {u"a"}, 0, 1, {u"   "}},
        EditCase{"spacesAcrossParagraphs", {u" ", u" "}, 1, 1, {u"  ", u" "}},
        EditCase{"joinParagraphs", {u"a (", u") b", u"c"}, 0, 2, {u"a () b"}},
        EditCase{"singleCharacterParagraphs", {u"a", u"b", u"c"}, 1, 1, {u"$", u"?", u" "}},
        EditCase{"crLfInsideAParagraph", {u"a"}, 0, 1, {u"один\r\nдва x"}},
        EditCase{"everyNonWordToken", {u""}, 0, 1, {u"- ( ) = _ + % $ @ ! ? / x"}},
        EditCase{"replaceBeyondTheEndIsClamped", {u"a b", u"c"}, 1, 9, {u"d e"}},
        EditCase{"cutAfterASpace", {u"a b c"}, 0, 1, {u"a", u"b c"}, {false, true}},
        EditCase{"cutAroundANonWord", {u"x"}, 0, 1, {u"x", u"-", u"y"}, {false, true, true}},
        EditCase{"cutBeforeTheLastCharacter", {u"a"}, 0, 1, {u"a", u"-"}, {false, true}},
        EditCase{"emptyPiecesBetweenCuts",
                 {u"a"},
                 0,
                 1,
                 {u"a ", u"", u" ", u"$"},
                 {false, true, true, true}},
        EditCase{"firstNeverContinues", {u"a", u"b"}, 0, 1, {u"-", u"c"}, {true, true}},
        EditCase{"cutTextAfterALineBreak", {u"a", u"b"}, 1, 1, {u"b", u"c d"}, {false, true}}),
    [](const auto& info) { return std::string(info.param.name); });

class LiveTextStatisticsRandom : public testing::TestWithParam<int>
{
};

// Long random sequences of edits of every kind: typing, deleting, splitting and joining
// paragraphs, replacing many at once, on a vocabulary rich in spaces and non-word tokens.
TEST_P(LiveTextStatisticsRandom, EqualsAFreshCountAfterEveryEdit)
{
    testsupport::TextGenerator generator(static_cast<unsigned>(GetParam()));
    EditedText text;
    const auto piece = [&] {
        static const std::u16string pieces[] = {u" ", u"  ", u"a", u"-",   u"$", u"(",
                                                u"",  u"x ", u"й", u"\t ", u"?", u"\u00A0"};
        return pieces[static_cast<std::size_t>(generator.number(0, 11))];
    };
    for (int step = 0; step < 400; ++step) {
        const auto size = static_cast<int>(text.paragraphs().size());
        const auto first = static_cast<std::size_t>(generator.number(0, size - 1));
        std::vector<std::u16string> added;
        std::size_t count = 1;
        switch (generator.number(0, 5)) {
        case 0: // a keystroke somewhere in a paragraph
        case 1: {
            std::u16string paragraph = text.paragraphs()[first];
            const auto at =
                static_cast<std::size_t>(generator.number(0, static_cast<int>(paragraph.size())));
            paragraph.insert(at, piece());
            added.push_back(paragraph);
            break;
        }
        case 2: { // a deletion inside a paragraph
            std::u16string paragraph = text.paragraphs()[first];
            if (!paragraph.empty()) {
                const auto at = static_cast<std::size_t>(
                    generator.number(0, static_cast<int>(paragraph.size()) - 1));
                paragraph.erase(at, static_cast<std::size_t>(generator.number(1, 3)));
            }
            added.push_back(paragraph);
            break;
        }
        case 3: { // a line break typed into a paragraph
            const std::u16string& paragraph = text.paragraphs()[first];
            const auto at =
                static_cast<std::size_t>(generator.number(0, static_cast<int>(paragraph.size())));
            added = {paragraph.substr(0, at), paragraph.substr(at)};
            break;
        }
        case 4: // paragraphs joined, or a selection across them deleted
            count = std::min<std::size_t>(static_cast<std::size_t>(generator.number(1, 3)),
                                          text.paragraphs().size() - first);
            added.push_back(text.paragraphs()[first] + piece() +
                            text.paragraphs()[first + count - 1]);
            break;
        default: // a paste of several paragraphs
            count = static_cast<std::size_t>(generator.number(0, 1));
            for (int i = generator.number(1, 4); i > 0; --i)
                added.push_back(generator.text(generator.number(0, 6)));
            break;
        }
        // A pane cuts a long paragraph after its spaces: any paragraph may continue the one
        // before it after a space.
        std::vector<bool> continues(added.size());
        for (std::size_t i = 0; i < added.size(); ++i)
            continues[i] = generator.number(0, 2) == 0;
        text.replace(first, count, added, continues);
        ASSERT_NO_FATAL_FAILURE(ExpectFresh(text)) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LiveTextStatisticsRandom, testing::Range(1, 21));

TEST(LiveTextStatistics, AnEditReadsOnlyTheParagraphsItReplaces)
{
    EditedText text;
    const std::u16string paragraph(1000, u'a');
    text.replace(0, 1, std::vector<std::u16string>(1000, paragraph));
    const std::uint64_t before = text.live().charactersExamined();
    text.replace(500, 1, {paragraph + u" b"});
    EXPECT_EQ(text.live().charactersExamined() - before, paragraph.size() + 2);
    ExpectFresh(text);
}

} // namespace
