// The compare and where two texts repeat each other: the tracker against the literal
// transcriptions, its figures and listing after a compare, its marks, pairs and entries after a
// compare and after any edits once settled.
#include "analysis/repeat_tracker.h"
#include "support/reference.h"
#include "support/text_generator.h"

#include <gtest/gtest.h>

namespace {

using analysis::RepeatTracker;
using analysis::TextRange;
using analysis::TextSide;

TextSide Other(TextSide side)
{
    return side == TextSide::NewText ? TextSide::Source : TextSide::NewText;
}

std::vector<TextRange> AllMarks(const RepeatTracker& tracker, TextSide side)
{
    return tracker.marks(side, 0, tracker.text(side).size());
}

// The marks and pairs of the tracker are those the rules give for its texts as they are now;
// after edits, wherever the texts share a shingle, however short they became.
void ExpectWhereTheRulesPutThem(const RepeatTracker& tracker, bool pairsToo)
{
    const reference::Repeats expected = reference::LocateRepeats(
        tracker.text(TextSide::NewText), tracker.text(TextSide::Source), !pairsToo);
    ASSERT_EQ(AllMarks(tracker, TextSide::NewText), expected.newTextMarks);
    ASSERT_EQ(AllMarks(tracker, TextSide::Source), expected.sourceMarks);
    if (!pairsToo)
        return;
    ASSERT_EQ(tracker.pairCount(), expected.pairs.size());
    for (std::size_t entry = 0; entry < expected.pairs.size(); ++entry) {
        ASSERT_EQ(tracker.pairExtent(entry, TextSide::NewText), expected.pairs[entry].first);
        ASSERT_EQ(tracker.pairExtent(entry, TextSide::Source), expected.pairs[entry].second);
        ASSERT_TRUE(tracker.pairRepeats(entry));
    }
}

// The combinations a listing lists, one an entry: each ends at a carriage return that no line
// feed follows (a CR LF inside a shingle only breaks its line).
std::vector<std::u16string> EntryTexts(const analysis::ComparisonOutcome& outcome,
                                       std::size_t entries)
{
    const std::u16string& listing = std::get<analysis::ComparisonResult>(outcome).MatchListing;
    std::vector<std::u16string> texts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < listing.size() && texts.size() < entries; ++i) {
        if (listing[i] == u'\r' && (i + 1 == listing.size() || listing[i + 1] != u'\n')) {
            texts.push_back(listing.substr(start, i - start));
            start = i + 1;
        }
    }
    return texts;
}

// The listing's entries after edits follow the rules for the texts as they are now.
void ExpectEntriesFollowTheRules(const RepeatTracker& tracker,
                                 const std::vector<std::u16string>& texts)
{
    ASSERT_EQ(texts.size(), tracker.pairCount());
    std::vector<reference::ListedEntry> entries;
    for (std::size_t entry = 0; entry < texts.size(); ++entry) {
        reference::ListedEntry listed{texts[entry], !tracker.pairRepeats(entry), std::nullopt};
        const auto newText = tracker.pairExtent(entry, TextSide::NewText);
        const auto source = tracker.pairExtent(entry, TextSide::Source);
        if (newText && source)
            listed.leadsTo = std::pair{*newText, *source};
        entries.push_back(std::move(listed));
    }
    ASSERT_EQ(reference::EntriesAgainstTheRules(entries, tracker.text(TextSide::NewText),
                                                tracker.text(TextSide::Source)),
              "");
}

// The near repeats, once every shingle is folded, are those the rules give for the texts as
// they are now.
void ExpectNearRepeatsByTheRules(RepeatTracker& tracker)
{
    while (!tracker.foldSome(7)) {
    }
    ASSERT_TRUE(tracker.areNearRepeatsKnown());
    const reference::NearRepeats expected = reference::LocateNearRepeats(
        tracker.text(TextSide::NewText), tracker.text(TextSide::Source));
    ASSERT_EQ(tracker.marks(TextSide::NewText, 0, tracker.text(TextSide::NewText).size(),
                            analysis::RepeatKind::Near),
              expected.newTextMarks);
    ASSERT_EQ(tracker.marks(TextSide::Source, 0, tracker.text(TextSide::Source).size(),
                            analysis::RepeatKind::Near),
              expected.sourceMarks);
    ASSERT_EQ(tracker.nearRepeatCount(), expected.newTextCount);
}

// The figures and the listing of a compare are those of the transcription's N x S loop.
void ExpectTheRulesFigures(const analysis::ComparisonOutcome& actual, std::u16string_view newText,
                           std::u16string_view source)
{
    analysis::ComparisonResult expected;
    const bool compared = reference::CompareShingleLists(
        reference::ExtractShingles(reference::PrepareText(newText)),
        reference::ExtractShingles(reference::PrepareText(source)), expected);
    ASSERT_EQ(std::holds_alternative<analysis::ComparisonResult>(actual), compared);
    if (!compared)
        return;
    const auto& tracked = std::get<analysis::ComparisonResult>(actual);
    ASSERT_EQ(tracked.NewShingleCount, expected.NewShingleCount);
    ASSERT_EQ(tracked.SourceShingleCount, expected.SourceShingleCount);
    ASSERT_EQ(tracked.MatchCount, expected.MatchCount);
    ASSERT_EQ(tracked.Percentage, expected.Percentage);
    ASSERT_EQ(tracked.MatchListing.size(), expected.MatchListing.size());
    ASSERT_TRUE(tracked.MatchListing == expected.MatchListing);
}

struct Located
{
    const char* name;
    std::u16string newText;
    std::u16string source;
    std::vector<TextRange> newTextMarks;
    std::vector<TextRange> sourceMarks;
    analysis::RepeatKind kind = analysis::RepeatKind::Exact;
};

class Marks : public testing::TestWithParam<Located>
{
};

TEST_P(Marks, AreWhereTheSharedShinglesLie)
{
    RepeatTracker tracker;
    ASSERT_TRUE(std::holds_alternative<analysis::ComparisonResult>(
        tracker.compare(GetParam().newText, GetParam().source)));
    while (!tracker.foldSome(100)) {
    }
    for (const TextSide side : {TextSide::NewText, TextSide::Source}) {
        const std::vector<TextRange>& expected =
            side == TextSide::NewText ? GetParam().newTextMarks : GetParam().sourceMarks;
        EXPECT_EQ(tracker.marks(side, 0, tracker.text(side).size(), GetParam().kind), expected);
        // Each character, asked alone, is marked just when a run holds it.
        for (std::size_t at = 0; at < tracker.text(side).size(); ++at) {
            const bool inRun = std::ranges::any_of(
                expected, [at](const TextRange& run) { return run.start <= at && at < run.end; });
            EXPECT_EQ(tracker.isMarkedWithin(side, at, at + 1, GetParam().kind), inRun) << at;
        }
    }
}

// A shingle reaches from its first character to its last as the pane holds them: punctuation
// removed inside it is covered, the spaces after it are not, and overlapping shingles make one run.
INSTANTIATE_TEST_SUITE_P(
    Cases, Marks,
    testing::Values(
        Located{"punctuationInside",
                u"Hello, world! This is a test.",
                u"Hello world This is x y",
                {{0, 21}},
                {{0, 19}}},
        Located{"nothingShared", u"a b c d e f", u"u v w x y z", {}, {}},
        Located{"leadingSpaceKeptInTheShingle",
                u"a - b c d e f g",
                u"x  b c d y z",
                {{3, 9}},
                {{2, 8}}},
        Located{"oneAmongMany", u"a b c d e f g h", u"x y z a b c q r", {{0, 5}}, {{6, 11}}},
        Located{
            "lineBreakInsideAWord", u"a b c\r\nd e f ", u"a b c\r\nd e f g ", {{0, 12}}, {{0, 12}}},
        // Near: the same words in other forms, but no shingle the same.
        Located{"otherEndings",
                u"Итоги проверки текстов на уникальность ",
                u"Сервис проверка текста на уникальности ",
                {{6, 38}},
                {{7, 38}},
                analysis::RepeatKind::Near},
        Located{"caseAndYo",
                u"Её ЗЕЛЁНЫЙ Сад x y ",
                u"a ее зеленый сад b ",
                {{0, 14}},
                {{2, 16}},
                analysis::RepeatKind::Near},
        Located{"englishForms",
                u"checking the texts quickly now ",
                u"we checked the text again ",
                {{0, 18}},
                {{3, 19}},
                analysis::RepeatKind::Near},
        // An exact repeat is no near one.
        Located{"exactIsNotNear",
                u"a b c d e f ",
                u"x a b c d y ",
                {},
                {},
                analysis::RepeatKind::Near}),
    [](const testing::TestParamInfo<Located>& info) { return std::string(info.param.name); });

class AgainstTheRules : public testing::TestWithParam<unsigned>
{
};

TEST_P(AgainstTheRules, AfterACompare)
{
    testsupport::TextGenerator generator(GetParam());
    for (int i = 0; i < 60; ++i) {
        const std::u16string source = generator.text(generator.number(0, 120));
        const std::u16string newText = generator.mixed(source, generator.number(0, 120));
        RepeatTracker tracker;
        const analysis::ComparisonOutcome outcome = tracker.compare(newText, source);
        ExpectTheRulesFigures(outcome, newText, source);
        ASSERT_EQ(tracker.isActive(), std::holds_alternative<analysis::ComparisonResult>(outcome));
        if (tracker.isActive()) {
            ExpectWhereTheRulesPutThem(tracker, true);
            ExpectNearRepeatsByTheRules(tracker);
        }
    }
}

// Random edits of either text, each settled or several at once: the marks come out where a
// compare of the edited texts puts them, and the pairs not touched keep their place.
TEST_P(AgainstTheRules, AfterEdits)
{
    testsupport::TextGenerator generator(GetParam() + 500);
    for (int round = 0; round < 12; ++round) {
        const std::u16string source = generator.text(generator.number(20, 150));
        const std::u16string newText = generator.mixed(source, generator.number(20, 150));
        RepeatTracker tracker;
        const analysis::ComparisonOutcome outcome = tracker.compare(newText, source);
        if (!std::holds_alternative<analysis::ComparisonResult>(outcome))
            continue;
        const std::vector<std::u16string> entries = EntryTexts(outcome, tracker.pairCount());
        // Edits come while the near repeats are still worked out, as well as after.
        tracker.foldSome(static_cast<std::size_t>(generator.number(0, 40)));
        for (int edit = 0; edit < 25; ++edit) {
            const TextSide side =
                generator.number(0, 3) == 0 ? TextSide::Source : TextSide::NewText;
            const auto size = static_cast<int>(tracker.text(side).size());
            const auto position = static_cast<std::size_t>(generator.number(0, size));
            const auto removed =
                static_cast<std::size_t>(generator.number(0, std::min(size - int(position), 12)));
            const std::u16string inserted =
                generator.number(0, 2) == 0
                    ? tracker.text(Other(side))
                          .substr(static_cast<std::size_t>(
                                      generator.number(0, int(tracker.text(Other(side)).size()))),
                                  static_cast<std::size_t>(generator.number(0, 30)))
                    : generator.text(generator.number(0, 4));
            tracker.replace(side, position, removed, inserted);
            if (generator.number(0, 2) == 0) {
                // At once, or a few shingles at a time as the panes settle while idle.
                const int slice = generator.number(0, 4);
                if (slice == 4)
                    tracker.settle();
                while (!tracker.settleSome(static_cast<std::size_t>(slice))) {
                }
                ASSERT_TRUE(tracker.isSettled());
                ExpectWhereTheRulesPutThem(tracker, false);
                ExpectEntriesFollowTheRules(tracker, entries);
                if (generator.number(0, 1) == 0)
                    ExpectNearRepeatsByTheRules(tracker);
            }
        }
        tracker.settle();
        ExpectWhereTheRulesPutThem(tracker, false);
        ExpectEntriesFollowTheRules(tracker, entries);
        ExpectNearRepeatsByTheRules(tracker);
        // Undone: each text back as it was compared, every entry stands again.
        for (const TextSide side : {TextSide::NewText, TextSide::Source})
            tracker.replace(side, 0, tracker.text(side).size(),
                            side == TextSide::NewText ? newText : source);
        tracker.settle();
        ExpectWhereTheRulesPutThem(tracker, true);
        ExpectEntriesFollowTheRules(tracker, entries);
        // Compared again where it stands, an edit not yet settled: as the edited texts compare.
        tracker.replace(TextSide::NewText, 0, 0, generator.text(generator.number(0, 6)));
        const std::u16string edited[2] = {tracker.text(TextSide::NewText),
                                          tracker.text(TextSide::Source)};
        const analysis::ComparisonOutcome again = tracker.compareHeld();
        ExpectTheRulesFigures(again, edited[0], edited[1]);
        ASSERT_TRUE(std::holds_alternative<analysis::ComparisonResult>(again));
        ExpectWhereTheRulesPutThem(tracker, true);
        ExpectNearRepeatsByTheRules(tracker);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, AgainstTheRules, testing::Range(1u, 9u));

// Text typed in front of a mark moves it at once; what it repeats is worked out on settling.
TEST(RepeatTrackerEdits, TypingMovesMarksAndSettlingFollowsTheRewording)
{
    RepeatTracker tracker;
    tracker.compare(u"x a b c d e f ", u"a b c d e f g ");
    const std::vector<TextRange> before = AllMarks(tracker, TextSide::NewText);
    ASSERT_EQ(before, (std::vector<TextRange>{{2, 13}}));
    tracker.replace(TextSide::NewText, 0, 0, u"yy ");
    EXPECT_EQ(AllMarks(tracker, TextSide::NewText), (std::vector<TextRange>{{5, 16}}));
    EXPECT_FALSE(tracker.isSettled());
    tracker.settle();
    EXPECT_EQ(AllMarks(tracker, TextSide::NewText), (std::vector<TextRange>{{5, 16}}));

    // Rewording "c" leaves only the shingles without it repeating.
    const std::size_t c = tracker.text(TextSide::NewText).find(u'c');
    const std::size_t entries = tracker.pairCount();
    tracker.replace(TextSide::NewText, c, 1, u"см");
    tracker.settle();
    ExpectWhereTheRulesPutThem(tracker, false);
    EXPECT_EQ(tracker.pairCount(), entries);
    EXPECT_FALSE(tracker.pairRepeats(0)); // "a b c"
    EXPECT_FALSE(tracker.pairExtent(0, TextSide::NewText).has_value());
    EXPECT_TRUE(tracker.pairRepeats(entries - 1)); // "d e f"
}

// Text put before the first shingle, where it looked for its first character, cuts the texts'
// start again.
TEST(RepeatTrackerEdits, AnEditBeforeTheFirstShingle)
{
    RepeatTracker tracker;
    tracker.compare(u"a b c d e f ", u".... b c d e f ");
    tracker.replace(TextSide::Source, 2, 0, u"a b ");
    tracker.settle();
    ExpectWhereTheRulesPutThem(tracker, false);
}

// Texts handed over without room get it: the first words typed after a compare do not copy a
// whole article to grow it, which made the first keystroke in a long one the slowest.
TEST(RepeatTrackerEdits, WordsTypedAfterACompareLeaveTheTextsInPlace)
{
    std::u16string article;
    for (int i = 0; i < 20'000; ++i)
        article += u"слово ";
    RepeatTracker tracker;
    tracker.compare(article, article);
    const char16_t* const texts[] = {tracker.text(TextSide::NewText).data(),
                                     tracker.text(TextSide::Source).data()};
    for (std::size_t word = 0; word < 200; ++word) {
        tracker.replace(TextSide::NewText, word * 6, 0, u"ещё ");
        tracker.replace(TextSide::Source, word * 6, 0, u"ещё ");
        tracker.settle();
    }
    EXPECT_EQ(tracker.text(TextSide::NewText).data(), texts[0]);
    EXPECT_EQ(tracker.text(TextSide::Source).data(), texts[1]);
}

// Shingles typed into one text by the hundred outgrow the table the compare made; pasted into
// the other between words of its own, each is found again, the one that made the table grow too
// (which shingle that is moves with the words typed before them).
TEST(RepeatTrackerEdits, ShinglesTypedPastTheTablesRoomRepeatEachInTheOther)
{
    const auto word = [](char16_t first, int n) {
        return std::u16string{first, static_cast<char16_t>(u'а' + n % 32),
                              static_cast<char16_t>(u'а' + n / 32), u' '};
    };
    for (int before = 0; before < 4; ++before) {
        RepeatTracker tracker;
        tracker.compare(u"a b c d e f ", u"g h i j k l ");
        std::u16string typed;
        std::u16string pasted;
        for (int n = 0; n < before; ++n)
            typed += word(u'q', n);
        for (int n = 0; n < 300; n += 3) {
            const std::u16string shared = word(u'w', n) + word(u'w', n + 1) + word(u'w', n + 2);
            typed += shared + word(u'x', n);
            pasted += shared + word(u'y', n);
        }
        tracker.replace(TextSide::NewText, 0, 0, typed);
        tracker.settle();
        tracker.replace(TextSide::Source, 0, 0, pasted);
        tracker.settle();
        ExpectWhereTheRulesPutThem(tracker, false);
    }
}

// A paste of hundreds of shingles is settled a slice at a time, and folded while idle: its near
// repeats join the others once foldSome() has reached them, and a short edit leaves nothing to
// fold.
TEST(RepeatTrackerEdits, ALongPasteIsSettledInSlicesAndFoldedAfter)
{
    std::u16string pasted;
    for (int i = 0; i < 400; ++i)
        pasted += u"Итоги проверки текстов на уникальность ";
    // Before the text's shingles, and after them, where the chain goes on past its end.
    for (const bool atTheEnd : {false, true}) {
        RepeatTracker tracker;
        tracker.compare(u"a b c d e f ", u"Сервис проверка текста на уникальности ");
        while (!tracker.foldSome(100)) {
        }
        tracker.replace(TextSide::NewText, 0, 0, u"x y ");
        tracker.settle();
        EXPECT_FALSE(tracker.hasShinglesToFold());

        tracker.replace(TextSide::NewText, atTheEnd ? tracker.text(TextSide::NewText).size() : 0, 0,
                        pasted);
        EXPECT_FALSE(tracker.settleSome(1000));
        while (!tracker.settleSome(1000)) {
        }
        ExpectWhereTheRulesPutThem(tracker, false);
        EXPECT_TRUE(tracker.hasShinglesToFold());
        EXPECT_TRUE(tracker.areNearRepeatsKnown());
        const std::size_t whileFolding = tracker.nearRepeatCount();
        ExpectNearRepeatsByTheRules(tracker);
        EXPECT_LT(whileFolding, tracker.nearRepeatCount());
        EXPECT_FALSE(tracker.hasShinglesToFold());
    }
}

TEST(RepeatTrackerEdits, NothingIsTrackedBeforeACompareOrAfterClearing)
{
    RepeatTracker tracker;
    tracker.replace(TextSide::NewText, 0, 0, u"a b c d e ");
    EXPECT_FALSE(tracker.isActive());
    EXPECT_TRUE(tracker.text(TextSide::NewText).empty());
    EXPECT_TRUE(std::holds_alternative<analysis::TooFewShingles>(tracker.compare(u"a b", u"a b")));
    EXPECT_FALSE(tracker.isActive());

    tracker.compare(u"a b c d e f ", u"a b c d e f ");
    EXPECT_EQ(AllMarks(tracker, TextSide::Source).size(), 1u);
    // A compare of texts too short leaves the earlier one as it was, and so does a compare of
    // the texts held once edited too short.
    tracker.compare(u"a", u"b");
    EXPECT_EQ(AllMarks(tracker, TextSide::Source).size(), 1u);
    tracker.replace(TextSide::Source, 3, 9, u"");
    EXPECT_TRUE(std::holds_alternative<analysis::TooFewShingles>(tracker.compareHeld()));
    EXPECT_TRUE(tracker.isActive());
    EXPECT_EQ(tracker.text(TextSide::Source), u"a b");
    // Edited far past the room it had, a text held gets room again, so that the next keystroke
    // does not copy it.
    std::u16string longer;
    for (int i = 0; i < 2000; ++i)
        longer += u"a b c ";
    tracker.replace(TextSide::Source, 0, 3, longer);
    ASSERT_TRUE(std::holds_alternative<analysis::ComparisonResult>(tracker.compareHeld()));
    EXPECT_GE(tracker.text(TextSide::Source).capacity(), analysis::EditableCapacity(longer.size()));
    tracker.clear();
    EXPECT_FALSE(tracker.isActive());
    EXPECT_TRUE(AllMarks(tracker, TextSide::Source).empty());
    EXPECT_EQ(tracker.pairCount(), 0u);
}

// A text cleared or pasted over keeps the characters only of the shingles that still matter:
// those the other text has too, and those the listing names; a paste keeps none of its own.
TEST(RepeatTrackerEdits, ClearingATextKeepsOnlyTheShinglesStillNeeded)
{
    RepeatTracker tracker;
    tracker.compare(u"q r a b c d s t ", u"a b c d e f g h ");
    tracker.replace(TextSide::Source, 0, tracker.text(TextSide::Source).size(), u"");
    // "a b c" and "b c d", of the six the source had.
    EXPECT_EQ(tracker.keptCharacters(), 10u);
    tracker.settle();
    EXPECT_EQ(tracker.keptCharacters(), 10u);
    // Pasted back, its shingles are represented where they now stand, not copied.
    tracker.replace(TextSide::Source, 0, 0, u"e f g h a b c d ");
    tracker.settle();
    EXPECT_EQ(tracker.keptCharacters(), 10u);
    ExpectWhereTheRulesPutThem(tracker, false);
    EXPECT_EQ(tracker.pairExtent(0, TextSide::Source), (TextRange{8, 13}));
}

// Shingles of long words fill the listing's characters long before its entries: the pairs end
// where the listing does.
TEST(RepeatTrackerListing, EndsWhereTheListingEnds)
{
    // Each of the 10 x 10 pairs of equal shingles lists 30,000 characters: past the limit.
    std::u16string text;
    for (int i = 0; i < 12; ++i)
        text += std::u16string(10'000, u'ж') + u' ';
    RepeatTracker tracker;
    const analysis::ComparisonOutcome outcome = tracker.compare(text, text);
    ExpectTheRulesFigures(outcome, text, text);
    EXPECT_LT(tracker.pairCount(), 100u);
    ExpectWhereTheRulesPutThem(tracker, true);
}

// The next and previous runs from a position, as F3 and Shift+F3 walk them.
TEST(RepeatTrackerEdits, RunsBeforeAndAfterAPosition)
{
    RepeatTracker tracker;
    // Two separate repeated passages in the new text.
    tracker.compare(u"a b c d q r s t e f g h ", u"a b c d w e f g h z ");
    const std::vector<TextRange> runs = AllMarks(tracker, TextSide::NewText);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(tracker.nextMark(TextSide::NewText, 0), runs[0]);
    EXPECT_EQ(tracker.nextMark(TextSide::NewText, 1), runs[1]);
    EXPECT_EQ(tracker.nextMark(TextSide::NewText, runs[1].start + 1), std::nullopt);
    EXPECT_EQ(tracker.previousMark(TextSide::NewText, runs[1].end), runs[1]);
    EXPECT_EQ(tracker.previousMark(TextSide::NewText, runs[1].end - 1), runs[0]);
    EXPECT_EQ(tracker.previousMark(TextSide::NewText, runs[0].end - 1), std::nullopt);
    // The whole run that holds a character, from its first character to its last.
    for (const TextRange& run : runs) {
        EXPECT_EQ(tracker.markAt(TextSide::NewText, run.start), run);
        EXPECT_EQ(tracker.markAt(TextSide::NewText, run.end - 1), run);
        EXPECT_EQ(tracker.markAt(TextSide::NewText, run.end), std::nullopt);
    }
}

} // namespace
