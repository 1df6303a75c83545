// Text analysis of Palimo Suite: shingles, the uniqueness comparison and the
// live figures of a text. Plain C++ on UTF-16 code units; no window toolkit. The comparison
// itself is RepeatTracker::compare (repeat_tracker.h), which also knows where the repeats lie.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace analysis {

// A shingle closes at the third space of its window.
inline constexpr int ShingleLength = 3;
// The characters preparation removes, in the order the design tests them.
inline constexpr std::u16string_view RemovedPunctuation = u",./-=)(+^#%@\"!?*";
// Both lists must hold at least this many shingles to be compared.
inline constexpr std::size_t MinimumShingleCount = 3;
// The listing keeps this many entries at most, and no more than its length allows; the rest is
// summed up in one line.
inline constexpr std::int64_t MatchListingLimit = 100'000;
// The listing's length in characters, its closing line included: 4 MB, however long the shingles.
inline constexpr std::size_t MatchListingCharacterLimit = std::size_t{1} << 21;
// The room an entry leaves for the closing line: "… (+", 19 digits, ")" and a carriage return.
inline constexpr std::size_t LongestListingSummary = 4 + 19 + 2;

using ShingleList = std::vector<std::u16string>;

constexpr bool IsRemovedPunctuation(char16_t c)
{
    return RemovedPunctuation.find(c) != std::u16string_view::npos;
}

// The text less every removed punctuation mark.
std::u16string PrepareText(std::u16string_view text);

// The overlapping three-space windows of a prepared text, trailing spaces removed: the shingles
// that RepeatTracker::compare counts, as strings.
ShingleList ExtractShingles(std::u16string_view prepared);

struct ComparisonResult
{
    std::int64_t NewShingleCount = 0;
    std::int64_t SourceShingleCount = 0;
    // Every equal pair counts, so repeated shingles multiply.
    std::int64_t MatchCount = 0;
    // One entry per equal pair, each followed by a carriage return; bounded by
    // MatchListingLimit and MatchListingCharacterLimit, with a closing "… (+K)" line when
    // entries were left out.
    std::u16string MatchListing;
    // Where each entry of the listing starts in it, in order, and then where the entries end:
    // at the closing line where there is one, else at the listing's end.
    std::vector<std::size_t> listingEntryStarts;
    int Percentage = 0;

    bool isUnique() const { return Percentage == 0; }
};

struct TooFewShingles
{
};

// The compare needed more memory than there was: nothing was compared, and nothing is followed.
struct TooLargeToCompare
{
};

using ComparisonOutcome = std::variant<ComparisonResult, TooFewShingles, TooLargeToCompare>;

// The whole-number percentage of shared shingles, computed in double precision in
// exactly this order: mean list size, ratio, times 100, floor, cap at 100.
int ComputePercentage(std::int64_t matchCount, std::int64_t newCount, std::int64_t sourceCount);

// "Текст уникален" or "Текст не уникален".
std::u16string_view VerdictCaption(const ComparisonResult& result);

// A number as the result line and the clock write it: a blank where a minus sign would stand.
std::u16string FormatSignedNumber(std::int64_t value);
// " 50 %. (Длина шингла  3)"
std::u16string FormatResultLine(int percentage, int shownShingleLength);
// The numeric value of the leading decimal number of a text ("3" gives 3, "" gives 0).
int ReadShownShingleLength(std::u16string_view text);

struct TextStatistics
{
    std::int32_t CharactersWithoutSpaces = 0;
    std::int32_t WordCount = 0;
};

TextStatistics ComputeTextStatistics(std::u16string_view text);

// The live figures of a text that is edited paragraph by paragraph, kept up to date without
// recounting the whole text: always equal to ComputeTextStatistics of the paragraphs joined by
// CR LF, or by a space where a paragraph continues the one before it (a pane holds a very long
// paragraph as several, cut after its spaces). An edit costs the length of the paragraphs it
// replaces, and the count of those its own paragraph is cut into, not the length of the text.
class LiveTextStatistics
{
public:
    // One empty paragraph, the empty text.
    LiveTextStatistics();

    // Replaces `count` paragraphs from paragraph `first` on by `paragraphs`, whose texts hold no
    // line break between paragraphs (a CR LF inside one is counted as its two characters); where
    // `continues[i]` holds, paragraph i follows the one before it after a space instead of
    // CR LF (none does when `continues` is empty, nor does the first of the text). The text
    // always keeps at least one paragraph.
    void replace(std::size_t first, std::size_t count,
                 std::span<const std::u16string_view> paragraphs,
                 std::span<const bool> continues = {});

    std::size_t paragraphCount() const { return paragraphs_.size(); }
    TextStatistics statistics() const;
    // Characters read by replace() since the start: the cost of keeping the figures up to date.
    std::uint64_t charactersExamined() const { return charactersExamined_; }

    // What the figures need of one paragraph: its own counts, and its first and last
    // characters, which its neighbours and the end of the text treat differently.
    struct Paragraph
    {
        std::uint64_t length = 0;
        std::uint64_t spaces = 0;
        // Non-word tokens that start inside the paragraph, as if a character that is not a space
        // followed it; a token starting at its first character is counted in `openingNonWord`.
        std::uint64_t nonWord = 0;
        std::uint8_t openingNonWord = 0;
        std::uint8_t tailLength = 0;
        char16_t tail[3] = {};  // the last characters, the last one first
        bool continues = false; // follows the paragraph before it after a space
    };

private:
    // Adds (or takes away) the figures of the paragraphs [from, to), whole runs of those that
    // continue one another, each run counted as the one paragraph it is.
    void account(std::size_t from, std::size_t to, bool add);

    std::vector<Paragraph> paragraphs_;
    // The paragraphs that start after CR LF or at the start: one more than the CR LFs.
    std::uint64_t runs_ = 1;
    std::uint64_t length_ = 0;
    std::uint64_t spaces_ = 0;
    std::uint64_t nonWord_ = 0;
    std::uint64_t charactersExamined_ = 0;
};

} // namespace analysis
