// The comparison, and where two texts repeat each other, kept up to date while either is edited.
// A compare cuts both texts into shingles, counts the ones they share and lists them, knowing
// where each shingle lies: so the figures, the listing, the marks and the pairs behind the
// listing's entries come from one counting. After the compare, edits move the marks with the
// text at once; settle() then cuts again only the shingles the edits touched and finds which of
// them repeat, so an edit costs its neighbourhood, not the texts.
#pragma once

#include "analysis.h"
#include "match_listing.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace analysis {

// The code units [start, end) of a text.
struct TextRange
{
    std::size_t start = 0;
    std::size_t end = 0;

    bool operator==(const TextRange&) const = default;
};

// For test failures.
inline std::ostream& operator<<(std::ostream& out, const TextRange& range)
{
    return out << '[' << range.start << ", " << range.end << ')';
}

enum class TextSide : std::uint8_t
{
    NewText,
    Source,
};

// An exact repeat is a shingle the other text has as it is; a near repeat one it has in other
// forms of its words: no exact repeat, but folded (word_folding.h) as a shingle of the other text
// folds.
enum class RepeatKind : std::uint8_t
{
    Exact,
    Near,
};

// The capacity a text of `size` code units wants in a tracker: room beyond its end for the edits
// of a working day, so that they do not copy the text to grow it. A text handed to compare() with
// less room is copied once to make it.
std::size_t EditableCapacity(std::size_t size);
// A copy of `text` with that room.
std::u16string EditableCopy(std::u16string_view text);

namespace detail {
struct ClassCharacters;
class ShingleClasses;
class ShingleHash;
} // namespace detail

class RepeatTracker
{
public:
    RepeatTracker();
    ~RepeatTracker();
    RepeatTracker(const RepeatTracker&) = delete;
    RepeatTracker& operator=(const RepeatTracker&) = delete;

    // Compares the texts: prepares and cuts both, checks their sizes, counts every equal pair,
    // lists them and works out the percentage. When both are long enough, the tracker takes them
    // on and locates their shared shingles; otherwise it stays as it was. Texts of 2^32 - 1 code
    // units or more, which no pane holds, are refused as too short to compare. The tracker keeps
    // the texts it is given: a caller that moves them in with room to edit (EditableCapacity)
    // spares a copy of each. Out of memory halfway, it gives back all it held and follows
    // nothing.
    ComparisonOutcome compare(std::u16string newText, std::u16string source);
    // The same compare of the texts the tracker follows, as edited since: no copy of them is
    // made. An active tracker's texts are those of the panes it follows.
    ComparisonOutcome compareHeld();
    // Forgets both texts; nothing is marked until the next compare.
    void clear();
    bool isActive() const { return active_; }
    const std::u16string& text(TextSide side) const;

    // An edit of one text: `removed` code units at `position` replaced by `inserted`. The marks
    // move with the text at once; which shingles repeat is brought up to date by settle(). Out
    // of memory in an edit or a settle, the tracker gives back all it held, as a compare does,
    // and follows nothing until the next compare.
    void replace(TextSide side, std::size_t position, std::size_t removed,
                 std::u16string_view inserted);
    bool isSettled() const;
    void settle();
    // Cuts again about `shingles` of the shingles the edits touched, at least a few for each run
    // of them, in the order of the text, and leaves the rest of the edits for the next call: a
    // paste of megabytes is settled a slice at a time. Tells whether the tracker is settled.
    bool settleSome(std::size_t shingles);
    // Slots of the shingles' table looked at since it was made or hashed again: the work the
    // counting took.
    std::uint64_t classProbes() const;
    // Characters of shingles that edits changed, kept while the repeats still need them: what
    // the edits cost beyond the texts.
    std::size_t keptCharacters() const;

    // The characters of text `side` that lie within a shingle the other text repeats (of
    // `kind`), as maximal runs (overlapping and touching shingles make one), clipped to
    // [from, to).
    std::vector<TextRange> marks(TextSide side, std::size_t from, std::size_t to,
                                 RepeatKind kind = RepeatKind::Exact) const;
    // Whether a shingle of `kind` that the other text repeats reaches into [from, to).
    bool isMarkedWithin(TextSide side, std::size_t from, std::size_t to,
                        RepeatKind kind = RepeatKind::Exact) const;
    // The first run that starts at or after `from`, and the last that ends at or before it.
    std::optional<TextRange> nextMark(TextSide side, std::size_t from,
                                      RepeatKind kind = RepeatKind::Exact) const;
    std::optional<TextRange> previousMark(TextSide side, std::size_t from,
                                          RepeatKind kind = RepeatKind::Exact) const;
    // The whole run that holds the character at `position`.
    std::optional<TextRange> markAt(TextSide side, std::size_t position,
                                    RepeatKind kind = RepeatKind::Exact) const;

    // The near repeats are worked out after a compare, a batch of shingles at a time, and once
    // known followed through edits as the exact ones are. Folds up to `shingles` more shingles,
    // and tells whether every shingle is folded, or the folding given up (below).
    bool foldSome(std::size_t shingles);
    // Out of memory while folding, the near repeats are given up until the next compare: what
    // they held goes back, and none is marked or counted.
    bool areNearRepeatsAbandoned() const;
    // Known once every shingle of the compare is folded; edits then keep them known. A settle
    // folds the shingles it cuts again up to a few hundred; those past that, of a long paste,
    // are left to foldSome(), and until then are near repeats of nothing.
    bool areNearRepeatsKnown() const;
    bool hasShinglesToFold() const;
    // How many shingles of the new text are near repeats, once they are known.
    std::size_t nearRepeatCount() const;

    // The pairs behind the listing of the last compare, one an entry, in the listing's order.
    std::size_t pairCount() const { return pairs_.size(); }
    // Whether an entry still stands for a pair that a compare of the texts as they are now would
    // count. Each combination keeps as many entries as such a compare counts pairs of it, never
    // more: those whose own two shingles are still in place first, then the others in the
    // listing's order. So an undo, a redo or the same text pasted back brings entries back.
    bool pairRepeats(std::size_t entry) const;
    // Where an entry that still repeats lies now in text `side`: its own pair while both its
    // shingles are in place, else another pair of its combination that no entry in place holds;
    // nothing for an entry that repeats no more.
    std::optional<TextRange> pairExtent(std::size_t entry, TextSide side) const;

    // One shingle of a text where it lies.
    struct Window
    {
        std::uint32_t start;        // the shingle's first character
        std::uint32_t closingSpace; // the third space counted, which closes the window
        std::uint32_t end;          // after its last character; `start` when it is empty
        std::uint32_t shingleClass; // equal shingles, of either text, share a class
        std::uint32_t id;           // stays while an edit leaves the shingle as it was
    };

private:
    struct Side;
    void abandonNearRepeats();
    // Takes on `texts` (new text, source), or compares the texts held where they are null.
    ComparisonOutcome compareOrGiveBack(std::u16string* const texts[2]);
    ComparisonOutcome compareTexts(std::u16string* const texts[2]);
    void replaceText(TextSide side, std::size_t position, std::size_t removed,
                     std::u16string_view inserted);
    struct Pair
    {
        std::uint32_t newTextId;
        std::uint32_t sourceId;
        std::uint32_t shingleClass;
        std::uint32_t combination; // the how-manieth combination of the listing
    };

    // A new shingle the listing lists, `entries` times.
    struct ListedShingle
    {
        std::uint32_t id;
        std::uint32_t entries;
        std::uint32_t shingleClass;
    };
    // What a compare's counting gives besides the classes.
    struct Counting
    {
        std::int64_t matchCount = 0;
        detail::MatchListingWriter listing;
        // The new text's shingles counted, in order, as long as the listing may hold them all;
        // their entries until the listing is written, then those it took.
        std::vector<ListedShingle> listed;
        std::int64_t listedEntries = 0;
    };

    Side& sideOf(TextSide side);
    const Side& sideOf(TextSide side) const;
    detail::ClassCharacters windowCharacters(int side, std::uint32_t id) const;
    bool countHeld(Side* sides[2], const detail::ShingleHash& hash, Counting& counting);
    static void writeListing(std::u16string_view text, const std::vector<Window>& windows,
                             Counting& counting);
    std::vector<Pair> listedPairs(const Side& sourceSide, const std::vector<ListedShingle>& listed);
    struct Near;
    bool isMarked(TextSide side, const Window& window, RepeatKind kind = RepeatKind::Exact) const;
    std::optional<TextRange> runBefore(TextSide side, std::size_t index, RepeatKind kind,
                                       std::size_t& below) const;
    void growOn(TextSide side, std::size_t index, TextRange& run, RepeatKind kind) const;
    void fold(TextSide side, const Window& window);
    void foldWords(TextSide side, const Window& window);
    void unfold(TextSide side, const Window& window);
    void settle(TextSide side, std::size_t& shingles);
    // Whether each entry's own two shingles are still where the compare found them.
    bool pairInPlace(std::size_t entry) const;
    // Which entries still repeat, worked out once after each change of what repeats.
    const std::vector<bool>& entriesRepeating() const;

    std::unique_ptr<Side> sides_[2];
    std::unique_ptr<detail::ShingleClasses> classes_;
    std::unique_ptr<Near> near_;
    std::vector<Pair> pairs_;
    std::size_t combinations_ = 0;
    mutable std::vector<bool> repeating_;
    mutable bool repeatingKnown_ = false;
    bool active_ = false;
};

} // namespace analysis
