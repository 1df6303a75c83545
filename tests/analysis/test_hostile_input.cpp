// Whatever a writer pastes: runs of one kind of character, NULs, lone surrogates, one huge word,
// long words repeated, text made to collide.
#include "analysis/analysis.h"
#include "analysis/keyed_hash.h"
#include "analysis/repeat_tracker.h"
#include "analysis/shingle_windows.h"
#include "support/address_space_left.h"
#include "support/colliding_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

constexpr std::size_t Megabyte = std::size_t{512} * 1024; // UTF-16 code units

analysis::ComparisonOutcome Compare(const std::u16string& newText, const std::u16string& source)
{
    analysis::RepeatTracker tracker;
    return tracker.compare(newText, source);
}

// The line that closes a listing when `omitted` entries were left out.
std::u16string SummaryLine(std::int64_t omitted)
{
    const std::string digits = std::to_string(omitted);
    return u"\u2026 (+" + std::u16string(digits.begin(), digits.end()) + u")\r";
}

TEST(HostileInput, OnlySpacesGiveEmptyShinglesThatAllMatch)
{
    const std::u16string spaces(Megabyte, u' ');
    const analysis::ShingleList shingles = analysis::ExtractShingles(analysis::PrepareText(spaces));
    // Each window after the first skips the space it starts on: two spaces a shingle.
    EXPECT_EQ(shingles.size(), Megabyte / 2 - 1);
    EXPECT_TRUE(std::ranges::all_of(shingles, [](const auto& s) { return s.empty(); }));

    const auto result = std::get<analysis::ComparisonResult>(Compare(spaces, spaces));
    const auto n = static_cast<std::int64_t>(shingles.size());
    EXPECT_EQ(result.MatchCount, n * n);
    EXPECT_EQ(result.Percentage, 100);
    EXPECT_EQ(result.MatchListing, std::u16string(100'000, u'\r') + SummaryLine(n * n - 100'000));

    const analysis::TextStatistics statistics = analysis::ComputeTextStatistics(spaces);
    EXPECT_EQ(statistics.CharactersWithoutSpaces, 0);
    EXPECT_EQ(statistics.WordCount, 0);
}

TEST(HostileInput, OnlyPunctuationPreparesToNothing)
{
    std::u16string marks;
    for (int i = 0; i < 40'000; ++i)
        marks += u",./-=)(+^#%@\"!?*";
    EXPECT_EQ(analysis::PrepareText(marks), u"");
    EXPECT_TRUE(std::holds_alternative<analysis::TooFewShingles>(Compare(marks, marks)));
    const analysis::TextStatistics statistics = analysis::ComputeTextStatistics(marks);
    EXPECT_EQ(statistics.CharactersWithoutSpaces, 640'000);
    EXPECT_EQ(statistics.WordCount, 1); // one token, the whole text less its last mark
}

TEST(HostileInput, OnlyLineBreaksAreOneWord)
{
    std::u16string breaks;
    for (std::size_t i = 0; i < Megabyte / 2; ++i)
        breaks += u"\r\n";
    EXPECT_TRUE(analysis::ExtractShingles(analysis::PrepareText(breaks)).empty());
    const analysis::TextStatistics statistics = analysis::ComputeTextStatistics(breaks);
    EXPECT_EQ(statistics.CharactersWithoutSpaces, static_cast<std::int32_t>(Megabyte));
    EXPECT_EQ(statistics.WordCount, 1);
}

TEST(HostileInput, NulsAndLoneSurrogatesAreOrdinaryCharacters)
{
    const std::u16string text = std::u16string(u"\0a \xDC00 b\xD800 \0\0 c ", 13);
    EXPECT_EQ(analysis::PrepareText(text), text);
    const analysis::ShingleList shingles = analysis::ExtractShingles(text);
    ASSERT_EQ(shingles.size(), 3u);
    EXPECT_EQ(shingles[0], std::u16string(u"\0a \xDC00 b\xD800", 7));
    EXPECT_EQ(shingles[1], std::u16string(u"\xDC00 b\xD800 \0\0", 7));
    EXPECT_EQ(shingles[2], std::u16string(u"b\xD800 \0\0 c", 7));
    EXPECT_EQ(analysis::ComputeTextStatistics(text).CharactersWithoutSpaces, 8);
}

TEST(HostileInput, OneMegabyteWordJoinsNoShingle)
{
    const std::u16string word(Megabyte, u'ж');
    EXPECT_TRUE(analysis::ExtractShingles(word).empty());
    const std::u16string threeHugeWords = word + u' ' + word + u' ' + word + u' ';
    const analysis::ShingleList shingles = analysis::ExtractShingles(threeHugeWords);
    ASSERT_EQ(shingles.size(), 1u);
    EXPECT_EQ(shingles[0].size(), 3 * Megabyte + 2);
    const analysis::TextStatistics statistics = analysis::ComputeTextStatistics(word);
    EXPECT_EQ(statistics.CharactersWithoutSpaces, static_cast<std::int32_t>(Megabyte));
    EXPECT_EQ(statistics.WordCount, 1);
}

// How many times `entry` fits in the listing, its closing line left room for.
std::size_t EntriesThatFit(const std::u16string& entry)
{
    return (analysis::MatchListingCharacterLimit - analysis::LongestListingSummary) / entry.size();
}

// A listing of `pairs` entries that is full of `entry`.
void ExpectFullOf(const analysis::ComparisonResult& result, const std::u16string& entry,
                  std::int64_t pairs)
{
    const std::size_t listed = EntriesThatFit(entry);
    std::u16string expected;
    for (std::size_t i = 0; i < listed; ++i)
        expected += entry;
    expected += SummaryLine(pairs - static_cast<std::int64_t>(listed));
    // Sizes first: a failing comparison of whole listings would print megabytes.
    ASSERT_EQ(result.MatchListing.size(), expected.size());
    EXPECT_TRUE(result.MatchListing == expected);
}

TEST(HostileInput, RepeatedLongWordsListAsMuchAsFitsInFourMegabytes)
{
    // 320 words of 1000 letters in both texts: 318 x 318 pairs of a shingle of 3002 characters.
    const std::u16string word(1000, u'ж');
    std::u16string text;
    for (int i = 0; i < 320; ++i)
        text += word + u' ';
    const auto result = std::get<analysis::ComparisonResult>(Compare(text, text));
    constexpr std::int64_t Pairs = std::int64_t{318} * 318;
    EXPECT_EQ(result.MatchCount, Pairs);
    EXPECT_EQ(result.Percentage, 100);
    ExpectFullOf(result, word + u' ' + word + u' ' + word + u'\r', Pairs);
}

// The listing is the first of the entries: once one does not fit, a shorter one after it that
// would is not listed either, and the closing line counts both.
TEST(HostileInput, AnEntryThatDoesNotFitEndsTheListing)
{
    // Three long shingles of the new text, 318 entries each, the third only partly listed; then
    // "ж… ж… а", which would fit in the room left.
    const std::u16string word(901, u'ж');
    std::u16string source;
    for (int i = 0; i < 320; ++i)
        source += word + u' ';
    source += u"а б в ";
    std::u16string newText;
    for (int i = 0; i < 5; ++i)
        newText += word + u' ';
    newText += u"а б в ";
    const auto result = std::get<analysis::ComparisonResult>(Compare(newText, source));
    constexpr std::int64_t Pairs = 3 * 318 + 3;
    EXPECT_EQ(result.MatchCount, Pairs);
    const std::u16string entry = word + u' ' + word + u' ' + word + u'\r';
    const std::size_t listed = EntriesThatFit(entry);
    ASSERT_GT(listed, 2 * 318u);
    ASSERT_GE(analysis::MatchListingCharacterLimit - analysis::LongestListingSummary -
                  listed * entry.size(),
              2 * word.size() + 4)
        << "the next entry would not fit";
    ExpectFullOf(result, entry, Pairs);
}

struct CollidingCase
{
    const char* name;
    std::u16string text;
};

void PrintTo(const CollidingCase& c, std::ostream* os)
{
    *os << c.name;
}

class CollidingText : public testing::TestWithParam<CollidingCase>
{
};

// Crafted for the fixed hash, a third or all of the shingles share a slot of the table: filling
// and reading it would look at a number of slots that grows with the square of the shingles.
// The compare looks at a few slots a shingle, and counts right.
TEST_P(CollidingText, CompareLooksAtAFewSlotsAShingle)
{
    const std::u16string& text = GetParam().text;
    std::map<std::uint64_t, std::size_t> slotShare;
    std::size_t shingles = 0;
    analysis::detail::ForEachWindow(text, analysis::detail::ShingleHash(),
                                    [&](const analysis::detail::Cut&, std::uint64_t hash) {
                                        ++slotShare[hash & 0xFFFFF];
                                        ++shingles;
                                    });
    std::size_t crowded = 0;
    for (const auto& [slot, count] : slotShare)
        crowded = std::max(crowded, count);
    ASSERT_GE(crowded, shingles / 3) << "the text no longer collides";

    analysis::RepeatTracker tracker;
    const auto result = std::get<analysis::ComparisonResult>(tracker.compare(text, text));
    // At most 24 slots for each shingle of either text.
    EXPECT_LE(tracker.classProbes(), std::uint64_t{24} * 2 * shingles);
    // Every shingle differs from the others, so each meets itself alone.
    EXPECT_EQ(result.MatchCount, static_cast<std::int64_t>(shingles));
    EXPECT_EQ(result.Percentage, 100);
}

INSTANTIATE_TEST_SUITE_P(Texts, CollidingText,
                         testing::Values(CollidingCase{"oneSlotDifferentHashes",
                                                       testsupport::SameSlotText(8000)},
                                         CollidingCase{"oneHash", testsupport::SameHashText(2000)}),
                         [](const auto& info) { return std::string(info.param.name); });

// Under a memory limit too tight for two texts of 8 MB the compare gives back what it took and
// follows nothing, and the folding of a compare made gives up its near repeats; given the room
// again, the next compare brings both. An edit or a settle without room gives back all.
TEST(HostileInput, WithoutTheMemoryItNeedsTheTrackerGivesUpAndGoesOn)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer ends the process where memory runs out";
#else
    // Half a million distinct words, each folded to itself: the folding's tables grow with them.
    std::u16string text;
    for (int i = 0; i < 500'000; ++i) {
        const std::string digits = std::to_string(1'000'000 + i);
        text.append(digits.begin(), digits.end());
        text += u' ';
    }
    analysis::RepeatTracker tracker;
    {
        std::u16string newText = text;
        std::u16string source = text;
        const testsupport::AddressSpaceLeft left(16 << 20);
        ASSERT_TRUE(left.isBounded());
        const analysis::ComparisonOutcome refused =
            tracker.compare(std::move(newText), std::move(source));
        EXPECT_TRUE(std::holds_alternative<analysis::TooLargeToCompare>(refused));
    }
    EXPECT_FALSE(tracker.isActive());

    ASSERT_TRUE(std::holds_alternative<analysis::ComparisonResult>(tracker.compare(text, text)));
    {
        const testsupport::AddressSpaceLeft left(4 << 20);
        ASSERT_TRUE(left.isBounded());
        while (!tracker.foldSome(std::size_t{1} << 16)) {
        }
    }
    EXPECT_TRUE(tracker.areNearRepeatsAbandoned());
    EXPECT_FALSE(tracker.areNearRepeatsKnown());
    EXPECT_FALSE(tracker.hasShinglesToFold());
    EXPECT_EQ(tracker.nearRepeatCount(), 0u);
    tracker.replace(analysis::TextSide::NewText, 0, 8, u"");
    tracker.settle();
    EXPECT_TRUE(tracker.areNearRepeatsAbandoned());

    tracker.compare(text, text);
    while (!tracker.foldSome(std::size_t{1} << 16)) {
    }
    EXPECT_TRUE(tracker.areNearRepeatsKnown());

    // A paste the tracker has no room to take in, or to cut into shingles once taken in: it
    // gives back what it held and follows nothing, as a compare out of memory does. The paste is
    // larger than all the compares before gave back, which the allocator would use again.
    std::u16string pasted;
    for (int i = 0; i < 8; ++i)
        pasted += text;
    for (const bool settling : {false, true}) {
        ASSERT_TRUE(
            std::holds_alternative<analysis::ComparisonResult>(tracker.compare(text, text)));
        if (settling)
            tracker.replace(analysis::TextSide::NewText, 0, 0, pasted);
        {
            const testsupport::AddressSpaceLeft left(4 << 20);
            ASSERT_TRUE(left.isBounded());
            if (settling)
                EXPECT_TRUE(tracker.settleSome(std::size_t{1} << 20));
            else
                tracker.replace(analysis::TextSide::NewText, 0, 0, pasted);
        }
        EXPECT_FALSE(tracker.isActive()) << settling;
        EXPECT_TRUE(tracker.isSettled());
        EXPECT_EQ(tracker.pairCount(), 0u);
        EXPECT_TRUE(tracker.marks(analysis::TextSide::Source, 0, text.size()).empty());
    }
#endif
}

// The hash that text made to collide meets is SipHash-2-4: the reference implementation's
// answers for the key 00 01 … 0f and the messages 00 01 … of 0, 15 and 63 bytes.
TEST(HostileInput, KeyedHashIsSipHash)
{
    const analysis::detail::HashKey key{0x0706050403020100, 0x0f0e0d0c0b0a0908};
    unsigned char message[63];
    for (unsigned char i = 0; i < 63; ++i)
        message[i] = i;
    EXPECT_EQ(analysis::detail::SipHash(key, std::u16string_view()), 0x726fdb47dd0e0e31u);
    EXPECT_EQ(analysis::detail::SipHash(key, message, 15), 0xa129ca6149be45e5u);
    EXPECT_EQ(analysis::detail::SipHash(key, message, 63), 0x958a324ceb064572u);
}

// A short word is hashed two blocks at once where the text goes on after it, and block by block
// where it ends: both as the transcription the colliding texts are made from.
TEST(HostileInput, FixedHashOfAWordIsTheSameWhereverItStands)
{
    const std::u16string text = u"\uFFFF\u0430z\u8000\u00FF\u0001xy\uFFFEq\u044F\u0410b7";
    const analysis::detail::ShingleHash hash;
    for (std::size_t length = 0; length <= 13; ++length) {
        const std::u16string_view word = std::u16string_view(text).substr(0, length);
        const std::uint64_t expected = testsupport::detail::WordHash(word);
        EXPECT_EQ(hash.word(word, false, length), expected) << length << " at the text's end";
        EXPECT_EQ(hash.word(word, false, text.size()), expected) << length << " with more after";
    }
}

} // namespace
