#include "repeat_tracker.h"

#include "buffer_room.h"
#include "growing_table.h"
#include "shingle_classes.h"
#include "shingle_windows.h"
#include "word_folding.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <iterator>
#include <limits>
#include <memory>
#include <new>
#include <numeric>
#include <span>

namespace analysis {

using detail::ClassCharacters;
using detail::Cut;
using detail::ShingleClasses;

// A thirty-second more, and a little: what a day's typing adds to a text, and to the shingles
// and ids that follow it.
std::size_t EditableCapacity(std::size_t size)
{
    return size + size / 32 + 1024;
}

namespace {

constexpr std::uint32_t NoIndex = std::numeric_limits<std::uint32_t>::max();
// Folded words kept from one compare to the next beyond twice the shingles of the texts.
constexpr std::size_t FoldedWordsKept = 1 << 16;
// Shingles a settle folds itself, a text: what a paragraph typed or pasted brings. The shingles
// of a longer paste are folded by foldSome(), while idle, as after a compare.
constexpr std::size_t FoldedWhileSettling = 256;
// Shingles a run of a settle cuts at the least, however few are asked for: more than the three
// before where it stops that reach there and are cut again by the next settle, so that each
// settle gets further.
constexpr std::size_t LeastCutARun = 8;

// Room for the windows of `text`, kept for as long as the article is: room beyond what the text
// and its edits need would be memory lost. Each window closes at a space of its own, so the
// spaces of slices spread over the text tell how many there will be, at a small part of the cost
// of counting them all; a text that has more grows as any vector does.
std::size_t WindowRoom(std::u16string_view text)
{
    constexpr std::size_t Slices = 16;
    constexpr std::size_t SliceLength = 2048;
    const auto spaces = [](std::u16string_view part) {
        return static_cast<std::size_t>(std::ranges::count(part, detail::Space));
    };
    std::size_t expected = 0;
    if (text.size() <= Slices * SliceLength) {
        expected = spaces(text);
    } else {
        std::size_t counted = 0;
        for (std::size_t slice = 0; slice < Slices; ++slice)
            counted += spaces(text.substr(slice * (text.size() / Slices), SliceLength));
        expected = static_cast<std::size_t>(static_cast<double>(counted) *
                                            static_cast<double>(text.size()) /
                                            static_cast<double>(Slices * SliceLength));
    }
    return EditableCapacity(expected);
}

int Index(TextSide side)
{
    return side == TextSide::NewText ? 0 : 1;
}

TextSide Other(TextSide side)
{
    return side == TextSide::NewText ? TextSide::Source : TextSide::NewText;
}

std::uint32_t Narrow(std::size_t position)
{
    assert(position < NoIndex);
    return static_cast<std::uint32_t>(position);
}

// Positions through an edit that replaced [at, at + removed) by `inserted` code units. A start
// moves with text typed in front of it; an end stays before text typed just after it.
struct EditMap
{
    std::size_t at;
    std::size_t removed;
    std::size_t inserted;

    std::size_t start(std::size_t p) const
    {
        if (p < at)
            return p;
        return p >= at + removed ? p - removed + inserted : at;
    }
    std::size_t end(std::size_t p) const
    {
        if (p <= at)
            return p;
        return p >= at + removed ? p - removed + inserted : at;
    }
};

RepeatTracker::Window MakeWindow(const Cut& cut, std::uint32_t shingleClass, std::uint32_t id)
{
    return {Narrow(cut.start), Narrow(cut.closingSpace), Narrow(cut.end), shingleClass, id};
}

// A run of windows by index, [from, to).
struct WindowSpan
{
    std::size_t from;
    std::size_t to;
};

// The windows cut again in place of the old ones in [from, to).
struct Splice
{
    std::size_t from;
    std::size_t to;
    std::vector<RepeatTracker::Window> windows;

    std::ptrdiff_t growth() const
    {
        return std::ssize(windows) - static_cast<std::ptrdiff_t>(to - from);
    }
};

} // namespace

// One text: its characters, its shingles in order, and what edits left to cut again.
struct RepeatTracker::Side
{
    std::u16string text;
    std::vector<Window> windows;
    std::vector<std::uint32_t> indexOfId;
    std::uint32_t nextId = 0;
    // Closed ranges of the text that edits changed since the last settle, in order and apart.
    std::vector<TextRange> dirty;

    // Ids are the windows' indexes after a compare, until an edit is settled.
    bool idsAreIndexes = true;

    // Puts each splice's windows in place of the old ones it covers, and brings the indexes of
    // the ids up to date from the first window that moved: a splice costs a move of the windows
    // after it, not a copy of them all.
    void apply(const std::vector<Splice>& splices)
    {
        std::size_t moved = splices.empty() ? windows.size() : splices.front().from;
        if (idsAreIndexes) {
            idsAreIndexes = false;
            indexOfId.reserve(EditableCapacity(nextId));
            indexOfId.assign(nextId, NoIndex);
            moved = 0;
        } else {
            for (const Splice& splice : splices) {
                for (std::size_t i = splice.from; i < splice.to; ++i)
                    indexOfId[windows[i].id] = NoIndex;
            }
            indexOfId.resize(nextId, NoIndex);
        }
        // The windows kept after each splice move by what the splices up to it grew. Runs that
        // move left only ever land where runs moving left before them were, and runs that move
        // right where runs moving right after them were: each kind in its own order, then the
        // splices' windows in the gaps left.
        struct KeptRun
        {
            std::size_t from;
            std::size_t to;
            std::ptrdiff_t shift;
        };
        std::vector<KeptRun> kept;
        kept.reserve(splices.size());
        std::ptrdiff_t growth = 0;
        for (std::size_t i = 0; i < splices.size(); ++i) {
            const Splice& splice = splices[i];
            growth += splice.growth();
            const std::size_t next = i + 1 < splices.size() ? splices[i + 1].from : windows.size();
            kept.push_back({splice.to, next, growth});
        }
        const std::size_t size = windows.size() + static_cast<std::size_t>(growth);
        // A paste settled a slice at a time grows the windows slice by slice: by half again, so
        // that each slice does not copy them all.
        if (size > windows.capacity())
            windows.reserve(std::max(size, windows.capacity() + windows.capacity() / 2));
        windows.resize(std::max(size, windows.size()));
        const auto at = [this](std::size_t index, std::ptrdiff_t shift = 0) {
            return windows.begin() + static_cast<std::ptrdiff_t>(index) + shift;
        };
        for (const KeptRun& run : kept) {
            if (run.shift < 0)
                std::move(at(run.from), at(run.to), at(run.from, run.shift));
        }
        for (std::size_t i = kept.size(); i-- > 0;) {
            if (const KeptRun& run = kept[i]; run.shift > 0)
                std::move_backward(at(run.from), at(run.to), at(run.to, run.shift));
        }
        std::ptrdiff_t shift = 0;
        for (const Splice& splice : splices) {
            std::ranges::copy(splice.windows, at(splice.from, shift));
            shift += splice.growth();
        }
        windows.resize(size);
        for (std::size_t i = moved; i < windows.size(); ++i)
            indexOfId[windows[i].id] = Narrow(i);
    }
    const Window* byId(std::uint32_t id) const
    {
        if (idsAreIndexes) {
            assert(id >= windows.size() || windows[id].id == id);
            return id < windows.size() ? &windows[id] : nullptr;
        }
        if (id >= indexOfId.size() || indexOfId[id] == NoIndex)
            return nullptr;
        return &windows[indexOfId[id]];
    }
    TextRange extent(const Window& window) const { return {window.start, window.end}; }
    ClassCharacters characters(const Window& window) const
    {
        return {text, window.start, window.end};
    }
    // The windows that might reach `position`: a shingle never reaches past the start of the
    // third shingle after it.
    std::size_t firstReaching(std::size_t position) const
    {
        const auto at = std::ranges::lower_bound(windows, position, {}, &Window::start);
        const auto index = static_cast<std::size_t>(at - windows.begin());
        return index > 3 ? index - 3 : 0;
    }
};

// The near repeats: the shingles folded word by word, each distinct fold a class counted per text.
struct RepeatTracker::Near
{
    // Room for `mostFolds` folds from the first fold on: a table that grows keeps its old slots
    // beside the new ones until they are moved.
    explicit Near(std::size_t mostFolds) : mostFolds(mostFolds) {}

    // Folds are told apart by a keyed hash of their words' ids: equal for equal folds, and for
    // different ones but once in 2^64.
    struct Fold
    {
        std::uint64_t hash;
        std::array<std::uint32_t, 2> count;
    };
    // A fold's class + 1, 0 for none: the slots of a table that must have room for as many folds
    // as the texts have shingles hold no more, and the hash is read from the fold.
    struct FoldSlot
    {
        std::uint32_t foldPlusOne;

        bool isFree() const { return foldPlusOne == 0; }
    };

    std::unique_ptr<WordFolding> words;
    std::size_t mostFolds;
    // The key, the table and the folds' room are made by the first fold: the compare does not
    // wait for them.
    std::optional<detail::HashKey> key;
    detail::GrowingTable<FoldSlot> table{1};
    std::vector<Fold> folds;
    // The shingles of each text folded so far, from the start: where to look for the next.
    std::size_t next[2] = {0, 0};
    // The fold of each text's shingles, by id (shingles that fold alike share one), NoIndex
    // before folded: kept beside the windows, which the compare writes and reads by the
    // hundred thousand, not in them.
    std::vector<std::uint32_t> foldedClasses[2];

    std::uint32_t foldedClass(int side, std::uint32_t id) const
    {
        return id < foldedClasses[side].size() ? foldedClasses[side][id] : NoIndex;
    }
    // `ids` is how many the side has given out.
    void setFoldedClass(int side, std::uint32_t id, std::uint32_t foldedClass, std::size_t ids)
    {
        std::vector<std::uint32_t>& classes = foldedClasses[side];
        if (id >= classes.size()) {
            // An edit gives out the few ids it cuts again: room for a day of them.
            classes.reserve(EditableCapacity(std::max<std::size_t>(ids, id + 1)));
            classes.resize(classes.capacity(), NoIndex);
        }
        classes[id] = foldedClass;
    }
    bool known = false;
    bool abandoned = false;
    mutable std::optional<std::size_t> repeats; // of the new text, once counted
    // Room for the shingle being folded: its words' folds, and a word less its punctuation.
    std::vector<std::uint64_t> foldedWords;
    std::u16string keptCharacters;

    std::uint32_t classOfFold(std::span<const std::uint64_t> ids)
    {
        if (!key) {
            key = detail::RandomHashKey();
            table = detail::GrowingTable<FoldSlot>(
                detail::GrowingTable<FoldSlot>::slotsFor(mostFolds, 1024));
            // Growing would copy what the folds filled.
            folds.reserve(EditableCapacity(mostFolds));
        }
        const std::uint64_t hash = detail::SipHash(
            *key, reinterpret_cast<const unsigned char*>(ids.data()), ids.size_bytes());
        const auto hashOf = [this](const FoldSlot& slot) {
            return folds[slot.foldPlusOne - 1].hash;
        };
        if (const FoldSlot* found = table.find(
                hash, [&hashOf, hash](const FoldSlot& slot) { return hashOf(slot) == hash; }))
            return found->foldPlusOne - 1;
        const auto foldedClass = static_cast<std::uint32_t>(folds.size());
        folds.push_back({hash, {0, 0}});
        table.insert({foldedClass + 1}, hashOf);
        return foldedClass;
    }
};

std::u16string EditableCopy(std::u16string_view text)
{
    std::u16string copy;
    copy.reserve(EditableCapacity(text.size()));
    copy.append(text);
    return copy;
}

RepeatTracker::RepeatTracker() = default;
RepeatTracker::~RepeatTracker() = default;

RepeatTracker::Side& RepeatTracker::sideOf(TextSide side)
{
    return *sides_[Index(side)];
}

const RepeatTracker::Side& RepeatTracker::sideOf(TextSide side) const
{
    return *sides_[Index(side)];
}

const std::u16string& RepeatTracker::text(TextSide side) const
{
    static const std::u16string none;
    return active_ ? sideOf(side).text : none;
}

std::uint64_t RepeatTracker::classProbes() const
{
    return classes_ ? classes_->probes() : 0;
}

std::size_t RepeatTracker::keptCharacters() const
{
    return classes_ ? classes_->keptCharacters() : 0;
}

void RepeatTracker::clear()
{
    active_ = false;
    sides_[0].reset();
    sides_[1].reset();
    classes_.reset();
    near_.reset();
    pairs_.clear();
    combinations_ = 0;
    repeatingKnown_ = false;
}

ClassCharacters RepeatTracker::windowCharacters(int side, std::uint32_t id) const
{
    const Side& holder = *sides_[side];
    return holder.characters(*holder.byId(id));
}

namespace {

// While a compare counts, a window's class and id hold the hash of its shingle, so that no list
// of hashes is kept beside the windows.
void HoldHash(RepeatTracker::Window& window, std::uint64_t hash)
{
    window.shingleClass = static_cast<std::uint32_t>(hash);
    window.id = static_cast<std::uint32_t>(hash >> 32);
}

std::uint64_t HeldHash(const RepeatTracker::Window& window)
{
    return (std::uint64_t{window.id} << 32) | window.shingleClass;
}

// Whether a text has the shingles a compare needs, cutting no more of it than that.
bool HasEnoughShingles(std::u16string_view text)
{
    std::optional<Cut> cut = detail::CutWindow(text, detail::FirstState(text));
    for (std::size_t found = 1; cut && found < MinimumShingleCount; ++found)
        cut = detail::CutWindow(text, cut->next);
    return cut.has_value();
}

} // namespace

// Counts the windows of both sides, whose hashes they hold, into the table, the source's first,
// so that they are known when the new text's are counted, and lists the new text's as they are
// counted. The table is far larger than the caches: the slot of the window a batch ahead is
// fetched while this one is counted. False when the table was crowded by text made against its
// hash; what was counted is then to be thrown away.
bool RepeatTracker::countHeld(Side* sides[2], const detail::ShingleHash& hash, Counting& counting)
{
    classes_->reset(sides[0]->windows.size() + sides[1]->windows.size(), hash);
    const auto resolve = [&sides](int side, std::uint32_t id) {
        // Ids are indexes while a compare counts.
        const Side& holder = *sides[side];
        return holder.characters(holder.windows[id]);
    };
    constexpr std::size_t Ahead = 16;
    for (const int index : {1, 0}) {
        Side& side = *sides[index];
        std::vector<Window>& windows = side.windows;
        const std::size_t count = windows.size();
        for (std::size_t i = 0; i < std::min(Ahead, count); ++i)
            classes_->prefetch(HeldHash(windows[i]));
        for (std::size_t i = 0; i < count; ++i) {
            if (i + Ahead < count)
                classes_->prefetch(HeldHash(windows[i + Ahead]));
            Window& window = windows[i];
            const std::uint64_t held = HeldHash(window);
            window.id = static_cast<std::uint32_t>(i);
            window.shingleClass =
                classes_->classOf(side.characters(window), held, index, window.id, resolve);
            classes_->add(window.shingleClass, index);
            if (classes_->isCrowded())
                return false;
            if (index == 1)
                continue;
            const std::uint32_t matches = classes_->count(window.shingleClass, 1);
            if (matches == 0)
                continue;
            counting.matchCount += matches;
            // What the listing can hold at most; the characters bound it further when it is
            // written.
            if (counting.listedEntries < MatchListingLimit) {
                counting.listed.push_back({window.id, matches, window.shingleClass});
                counting.listedEntries += matches;
            }
        }
        side.nextId = static_cast<std::uint32_t>(count);
        side.idsAreIndexes = true;
        side.indexOfId.clear();
    }
    return true;
}

// The listing of the new text's shingles counted, written once they all are, into room for the
// most it may take; those that do not fit are no longer listed.
void RepeatTracker::writeListing(std::u16string_view text, const std::vector<Window>& windows,
                                 Counting& counting)
{
    std::size_t characters = 0;
    for (const ListedShingle& shingle : counting.listed) {
        const Window& window = windows[shingle.id];
        characters += std::size_t{shingle.entries} * (window.end - window.start + 1);
    }
    counting.listing.reserve(characters, counting.listedEntries);
    std::size_t kept = 0;
    for (ListedShingle& shingle : counting.listed) {
        const Window& window = windows[shingle.id];
        shingle.entries = static_cast<std::uint32_t>(counting.listing.add(
            shingle.entries, text.substr(window.start, window.end - window.start)));
        if (shingle.entries == 0)
            break;
        ++kept;
    }
    counting.listed.resize(kept);
}

ComparisonOutcome RepeatTracker::compare(std::u16string newText, std::u16string source)
{
    std::u16string* const texts[2] = {&newText, &source};
    return compareOrGiveBack(texts);
}

ComparisonOutcome RepeatTracker::compareHeld()
{
    assert(active_);
    std::u16string* const texts[2] = {nullptr, nullptr};
    return compareOrGiveBack(texts);
}

ComparisonOutcome RepeatTracker::compareOrGiveBack(std::u16string* const texts[2])
{
    try {
        return compareTexts(texts);
    } catch (const std::bad_alloc&) {
        clear();
        return TooLargeToCompare{};
    }
}

ComparisonOutcome RepeatTracker::compareTexts(std::u16string* const texts[2])
{
    const auto compared = [this, texts](int index) -> std::u16string_view {
        return texts[index] ? *texts[index] : sides_[index]->text;
    };
    // Positions are 32 bits wide; no pane holds a text that long.
    for (const int index : {0, 1}) {
        if (compared(index).size() >= NoIndex || !HasEnoughShingles(compared(index)))
            return TooFewShingles{};
    }

    // The earlier compare goes before this one is counted, and its room is used again.
    active_ = false;
    pairs_.clear();
    combinations_ = 0;
    repeatingKnown_ = false;
    Side* sides[2] = {nullptr, nullptr};
    for (const int index : {0, 1}) {
        if (!sides_[index])
            sides_[index] = std::make_unique<Side>();
        Side& side = *sides_[index];
        sides[index] = &side;
        // A string grown in place at least doubles: a copy with the room takes less. A text
        // held that edits left with no room gets it here, not on the next keystroke.
        std::u16string& given = texts[index] ? *texts[index] : side.text;
        if (given.capacity() < EditableCapacity(given.size()))
            side.text = EditableCopy(given);
        else if (texts[index])
            side.text = std::move(given);
        side.dirty.clear();
        const std::u16string_view text = side.text;
        const std::size_t room = WindowRoom(text);
        detail::EmptyForRoom(side.windows, room);
        side.windows.reserve(room);
        detail::ForEachWindow(text, detail::ShingleHash(),
                              [&side](const Cut& cut, std::uint64_t hash) {
                                  side.windows.push_back(MakeWindow(cut, 0, 0));
                                  HoldHash(side.windows.back(), hash);
                              });
    }
    if (!classes_)
        classes_ = std::make_unique<ShingleClasses>(0, detail::ShingleHash());
    Counting counting;
    if (!countHeld(sides, detail::ShingleHash(), counting)) {
        // Text made against the fixed hash: every shingle hashed again under a key it cannot know.
        const detail::ShingleHash keyed(detail::RandomHashKey());
        for (Side* side : sides) {
            std::size_t next = 0;
            detail::ForEachWindow(side->text, keyed, [side, &next](const Cut&, std::uint64_t hash) {
                HoldHash(side->windows[next++], hash);
            });
        }
        counting = Counting();
        countHeld(sides, keyed, counting);
    }

    ComparisonResult result;
    result.NewShingleCount = static_cast<std::int64_t>(sides[0]->windows.size());
    result.SourceShingleCount = static_cast<std::int64_t>(sides[1]->windows.size());
    result.MatchCount = counting.matchCount;
    writeListing(sides[0]->text, sides[0]->windows, counting);
    counting.listing.finish(result.MatchCount, result.MatchListing, result.listingEntryStarts);
    result.Percentage =
        ComputePercentage(result.MatchCount, result.NewShingleCount, result.SourceShingleCount);
    pairs_ = listedPairs(*sides[1], counting.listed);
    // The near repeats are worked out afresh, after the compare; the words folded for the last
    // one fold the same now, and a writer compares the same texts again and again, so they are
    // kept unless they have grown far past what these texts need.
    std::unique_ptr<WordFolding> words = near_ ? std::move(near_->words) : nullptr;
    const std::size_t windowCount = sides[0]->windows.size() + sides[1]->windows.size();
    if (!words || words->wordCount() > FoldedWordsKept + 2 * windowCount)
        words = std::make_unique<WordFolding>();
    // Shingles equal as they stand fold alike: there are no more folds than classes.
    near_ = std::make_unique<Near>(classes_->size());
    near_->words = std::move(words);
    active_ = true;
    return result;
}

// The pairs behind the listing: for each listed new shingle in order, the first source shingles
// it equals, in the source's order. The listing's combinations are numbered as they first appear
// and outlive their last shingle.
std::vector<RepeatTracker::Pair>
RepeatTracker::listedPairs(const Side& sourceSide, const std::vector<ListedShingle>& listed)
{
    std::vector<Pair> pairs;
    std::size_t entries = 0;
    for (const ListedShingle& shingle : listed)
        entries += shingle.entries;
    pairs.reserve(entries);
    std::vector<std::uint32_t> combinationOf(classes_->size(), NoIndex);
    std::vector<std::uint32_t> needed; // source shingles each combination takes
    for (const ListedShingle& shingle : listed) {
        std::uint32_t& combination = combinationOf[shingle.shingleClass];
        if (combination == NoIndex) {
            combination = static_cast<std::uint32_t>(needed.size());
            needed.push_back(0);
            classes_->list(shingle.shingleClass);
        }
        needed[combination] = std::max(needed[combination], shingle.entries);
        for (std::uint32_t k = 0; k < shingle.entries; ++k)
            pairs.push_back({shingle.id, k, shingle.shingleClass, combination});
    }
    // The first source shingles of each, in the source's order.
    std::vector<std::uint32_t> firstSource(needed.size() + 1, 0);
    std::partial_sum(needed.begin(), needed.end(), firstSource.begin() + 1);
    std::vector<std::uint32_t> sourceIds(firstSource.back());
    std::vector<std::uint32_t> found(needed.size(), 0);
    // Each combination's source shingles were counted: all are found, most often before the end.
    std::size_t missing = sourceIds.size();
    for (auto window = sourceSide.windows.begin();
         missing > 0 && window != sourceSide.windows.end(); ++window) {
        const std::uint32_t combination = combinationOf[window->shingleClass];
        if (combination != NoIndex && found[combination] < needed[combination]) {
            sourceIds[firstSource[combination] + found[combination]++] = window->id;
            --missing;
        }
    }
    assert(missing == 0);
    for (Pair& pair : pairs)
        pair.sourceId = sourceIds[firstSource[pair.combination] + pair.sourceId];
    combinations_ = needed.size();
    return pairs;
}

void RepeatTracker::replace(TextSide side, std::size_t position, std::size_t removed,
                            std::u16string_view inserted)
{
    if (!active_)
        return;
    try {
        replaceText(side, position, removed, inserted);
    } catch (const std::bad_alloc&) {
        // Half an edit leaves marks that no text holds: the tracker follows nothing rather.
        clear();
    }
}

void RepeatTracker::replaceText(TextSide side, std::size_t position, std::size_t removed,
                                std::u16string_view inserted)
{
    Side& edited = sideOf(side);
    const int index = Index(side);
    assert(position + removed <= edited.text.size());
    assert(edited.text.size() - removed + inserted.size() < NoIndex);
    const EditMap map{position, removed, inserted.size()};
    const std::size_t first = edited.firstReaching(position);
    // The windows that reach into the edit. A class represented by one whose characters it
    // changes keeps them first, or is let go when that shingle is its only one.
    std::size_t i = first;
    for (; i < edited.windows.size() && edited.windows[i].start <= position + removed; ++i) {
        Window& window = edited.windows[i];
        if (window.end >= position &&
            classes_->isRepresentedBy(window.shingleClass, index, window.id) &&
            classes_->isAlive(window.shingleClass))
            classes_->release(window.shingleClass, index, edited.characters(window));
        window.start = Narrow(map.start(window.start));
        window.closingSpace = Narrow(map.start(window.closingSpace));
        window.end = Narrow(std::max(map.end(window.end), std::size_t{window.start}));
    }
    edited.text.replace(position, removed, inserted);
    // The windows that start past the edit all move by what it grew: a keystroke in the middle
    // of a long text moves half its windows, in a loop without a branch. Unsigned arithmetic
    // wraps: adding the growth as a 32-bit number moves back as well.
    const auto growth = static_cast<std::uint32_t>(inserted.size() - removed);
    for (; i < edited.windows.size(); ++i) {
        Window& window = edited.windows[i];
        window.start += growth;
        window.closingSpace += growth;
        window.end += growth;
    }
    std::vector<TextRange> dirty;
    dirty.reserve(edited.dirty.size() + 1);
    bool added = false;
    const TextRange changed{position, position + inserted.size()};
    const auto add = [&dirty](TextRange range) {
        if (!dirty.empty() && range.start <= dirty.back().end + 1)
            dirty.back().end = std::max(dirty.back().end, range.end);
        else
            dirty.push_back(range);
    };
    for (const TextRange& range : edited.dirty) {
        const TextRange moved{map.start(range.start), map.start(range.end)};
        if (!added && changed.start <= moved.start) {
            add(changed);
            added = true;
        }
        add(moved);
    }
    if (!added)
        add(changed);
    assert(std::ranges::is_sorted(dirty, {}, &TextRange::start));
    edited.dirty = std::move(dirty);
}

bool RepeatTracker::isSettled() const
{
    return !active_ ||
           (sideOf(TextSide::NewText).dirty.empty() && sideOf(TextSide::Source).dirty.empty());
}

void RepeatTracker::settle()
{
    settleSome(std::numeric_limits<std::size_t>::max());
}

bool RepeatTracker::settleSome(std::size_t shingles)
{
    if (!active_)
        return true;
    try {
        settle(TextSide::NewText, shingles);
        settle(TextSide::Source, shingles);
        // Text made against the fixed hash by edits: every class hashed again under a key.
        if (classes_->isCrowded()) {
            classes_->rehash(
                detail::ShingleHash(detail::RandomHashKey()),
                [this](int side, std::uint32_t id) { return windowCharacters(side, id); });
        }
    } catch (const std::bad_alloc&) {
        // A settle stopped halfway holds windows of two chains: the tracker follows nothing.
        clear();
        return true;
    }
    repeatingKnown_ = false;
    return isSettled();
}

void RepeatTracker::settle(TextSide side, std::size_t& shingles)
{
    Side& edited = sideOf(side);
    if (edited.dirty.empty())
        return;
    const int index = Index(side);
    const std::u16string_view text = edited.text;
    const std::vector<Window>& old = edited.windows;

    // A shingle is to be cut again when an edit lies between its start and its closing space;
    // the first one also when it lies before its start, where it looks for its first character.
    // Each edit makes one run of such shingles, found by bisection, so that the work of a
    // settle grows with the edits, not with the text.
    // Edits move positions monotonically, so the windows stay in order by either end.
    assert(std::ranges::is_sorted(old, {}, &Window::closingSpace));
    std::vector<WindowSpan> untrusted;
    for (const TextRange& range : edited.dirty) {
        const auto from = std::ranges::lower_bound(old, range.start, {}, &Window::closingSpace);
        const auto to = std::ranges::upper_bound(old, range.end, {}, &Window::start);
        WindowSpan span{static_cast<std::size_t>(from - old.begin()),
                        static_cast<std::size_t>(to - old.begin())};
        if (span.from == 0 && !old.empty())
            span.to = std::max<std::size_t>(span.to, 1);
        if (span.from >= span.to)
            continue;
        if (!untrusted.empty() && span.from <= untrusted.back().to)
            untrusted.back().to = std::max(untrusted.back().to, span.to);
        else
            untrusted.push_back(span);
    }
    const auto nextUntrusted = [&untrusted](std::size_t i) {
        const auto span = std::ranges::upper_bound(untrusted, i, {}, &WindowSpan::to);
        return span == untrusted.end() ? std::numeric_limits<std::size_t>::max()
                                       : std::max(i, span->from);
    };
    const auto isUntrusted = [&nextUntrusted](std::size_t i) { return nextUntrusted(i) == i; };

    // The shingles this settle cuts, by the ids they would be given from the first one on: a
    // class one of them brings is represented by it, as by any window, though the windows it
    // joins are applied only at the end. So a paste keeps no copy of its shingles' characters.
    const std::uint32_t firstNewId = edited.nextId;
    std::vector<TextRange> cutExtents;
    const auto resolve = [this, index, firstNewId, &cutExtents, text](int holder,
                                                                      std::uint32_t id) {
        if (holder == index && id >= firstNewId) {
            const TextRange& extent = cutExtents[id - firstNewId];
            return ClassCharacters{text, extent.start, extent.end};
        }
        return windowCharacters(holder, id);
    };
    std::size_t foldsLeft = FoldedWhileSettling;
    bool unfolded = false;
    const auto foldSoon = [&](const Window& window) {
        if (foldsLeft == 0) {
            unfolded = true;
            return;
        }
        --foldsLeft;
        fold(side, window);
    };
    const auto drop = [&](const Window& window) {
        unfold(side, window);
        if (!classes_->isReleased(window.shingleClass))
            classes_->remove(window.shingleClass, index);
        if (classes_->isRepresentedBy(window.shingleClass, index, window.id) &&
            classes_->isAlive(window.shingleClass))
            classes_->keep(window.shingleClass, edited.characters(window));
    };
    const auto cutAnew = [&](const Cut& cut) {
        // The id it is given unless it turns out the same shingle as an old one, which keeps its
        // own; the next cut then comes by the same id.
        const std::uint32_t id = edited.nextId;
        cutExtents.resize(id - firstNewId);
        cutExtents.push_back({cut.start, cut.end});
        const ClassCharacters characters{text, cut.start, cut.end};
        const std::uint32_t shingleClass = classes_->classOf(
            characters, classes_->hash().shingle(text, cut.start, cut.end), index, id, resolve);
        return MakeWindow(cut, shingleClass, id);
    };

    // The old windows stay in place while the chain is cut again, since representatives are
    // looked up among them; each run cut again becomes a splice, applied afterwards. Once the
    // shingles to cut are spent, a run stops at the next shingle it would cut: the text before it
    // is settled, the edits from there on are left for the next settle.
    std::vector<Splice> splices;
    std::optional<std::size_t> stoppedAt;
    for (std::size_t i = nextUntrusted(0); i < old.size() && !stoppedAt; i = nextUntrusted(i)) {
        // The kept shingle before this one is untouched, and so is where this one starts.
        Splice splice{i, i, {}};
        bool first = i == 0;
        detail::ChainState state =
            first ? detail::FirstState(text) : detail::ChainState{old[i].start, old[i].start + 1u};
        std::size_t j = i;
        while (true) {
            const std::optional<Cut> cut = detail::CutWindow(text, state);
            if (!cut) {
                for (; j < old.size(); ++j)
                    drop(old[j]);
                break;
            }
            while (j < old.size() && old[j].start < cut->start)
                drop(old[j++]);
            if (j < old.size() && old[j].start == cut->start && !isUntrusted(j) &&
                first == (j == 0))
                break; // back on the old chain: the rest is as it was
            if (shingles == 0 && splice.windows.size() >= LeastCutARun) {
                stoppedAt = cut->start;
                // The old shingles that close before the last one cut would break the order the
                // next settle looks them up in: this run would have gone past them, as it goes
                // past every old shingle that closes before a new one.
                while (j < old.size() && old[j].closingSpace < splice.windows.back().closingSpace)
                    drop(old[j++]);
                break;
            }
            if (shingles > 0)
                --shingles;
            Window window = cutAnew(*cut);
            const bool replacing = j < old.size() && old[j].start == window.start;
            if (replacing && old[j].closingSpace == window.closingSpace &&
                old[j].end == window.end && old[j].shingleClass == window.shingleClass) {
                // The same shingle where it was.
                window.id = old[j++].id;
            } else {
                // Counted before the old one goes, so that a class they share keeps its
                // characters when the old one stood for it.
                ++edited.nextId;
                classes_->add(window.shingleClass, index);
                foldSoon(window);
                if (replacing)
                    drop(old[j++]);
            }
            splice.windows.push_back(window);
            state = cut->next;
            first = false;
        }
        splice.to = j;
        i = j;
        splices.push_back(std::move(splice));
    }
    const bool allFolded = near_ && near_->next[index] >= old.size();
    const std::size_t firstMoved = splices.empty() ? old.size() : splices.front().from;
    edited.apply(splices);

    // The chain may go on past where it ended: text added after the last shingle's first space.
    std::vector<Window>& windows = edited.windows;
    std::optional<Cut> next = detail::CutWindow(text, detail::FirstState(text));
    if (stoppedAt) {
        next.reset();
    } else if (!windows.empty()) {
        const Window& last = windows.back();
        next = detail::CutWindow(text, {last.start, windows.size() == 1 ? 0 : last.start + 1u});
        next = next ? detail::CutWindow(text, next->next) : std::nullopt;
    }
    for (std::size_t appended = 0; next; next = detail::CutWindow(text, next->next), ++appended) {
        if (shingles == 0 && appended >= LeastCutARun) {
            stoppedAt = next->start;
            break;
        }
        if (shingles > 0)
            --shingles;
        windows.push_back(cutAnew(*next));
        edited.indexOfId.push_back(Narrow(windows.size() - 1));
        ++edited.nextId;
        classes_->add(windows.back().shingleClass, index);
        foldSoon(windows.back());
    }
    assert(std::ranges::is_sorted(windows, {}, &Window::start));
    // What lies before where the cutting stopped is settled. The shingles from there on are
    // cut again by the next settle as far as this one would have gone, whether or not an edit
    // lies among them: it starts from the shingles that reach that place.
    if (!stoppedAt) {
        edited.dirty.clear();
    } else {
        const std::size_t stop = *stoppedAt;
        std::erase_if(edited.dirty, [stop](const TextRange& range) { return range.end < stop; });
        if (!edited.dirty.empty() && edited.dirty.front().start <= stop + 1)
            edited.dirty.front().start = stop;
        else
            edited.dirty.insert(edited.dirty.begin(), TextRange{stop, stop});
    }
    // Every window cut again was folded above, unless there were too many. If all were folded
    // before and since, all still are; otherwise the folding goes on from the first window that
    // moved, not from the start.
    if (near_) {
        std::size_t& folded = near_->next[index];
        folded = allFolded && !unfolded ? windows.size() : std::min(folded, firstMoved);
        near_->repeats.reset();
    }
}

bool RepeatTracker::isMarked(TextSide side, const Window& window, RepeatKind kind) const
{
    if (window.end == window.start)
        return false;
    const bool exact = classes_->count(window.shingleClass, Index(Other(side))) > 0;
    if (kind == RepeatKind::Exact)
        return exact;
    if (exact || !near_ || !near_->known)
        return false;
    const std::uint32_t folded = near_->foldedClass(Index(side), window.id);
    return folded != NoIndex && near_->folds[folded].count[Index(Other(side))] > 0;
}

// A window folded word by word, each word the characters preparation keeps between two spaces.
void RepeatTracker::fold(TextSide side, const Window& window)
{
    if (!near_ || near_->abandoned || near_->foldedClass(Index(side), window.id) != NoIndex)
        return;
    try {
        foldWords(side, window);
    } catch (const std::bad_alloc&) {
        abandonNearRepeats();
    }
}

void RepeatTracker::abandonNearRepeats()
{
    for (std::vector<std::uint32_t>& classes : near_->foldedClasses)
        classes = {};
    near_->words.reset();
    near_->table = detail::GrowingTable<Near::FoldSlot>(1);
    near_->folds = {};
    near_->foldedWords = {};
    near_->keptCharacters = {};
    near_->known = false;
    near_->abandoned = true;
    near_->repeats.reset();
}

bool RepeatTracker::areNearRepeatsAbandoned() const
{
    return near_ && near_->abandoned;
}

void RepeatTracker::foldWords(TextSide side, const Window& window)
{
    const std::u16string_view text = sideOf(side).text;
    // A shingle holds the words between its three spaces and the one it may start with; one that
    // edits changed and no settle has cut again yet may hold more.
    std::vector<std::uint64_t>& ids = near_->foldedWords;
    ids.clear();
    for (std::size_t from = window.start;;) {
        const std::size_t space = text.substr(0, window.end).find(detail::Space, from);
        const std::size_t to = space == std::u16string_view::npos ? window.end : space;
        std::u16string_view word = text.substr(from, to - from);
        if (!std::ranges::all_of(word, detail::Kept)) {
            near_->keptCharacters.clear();
            std::ranges::copy_if(word, std::back_inserter(near_->keptCharacters), detail::Kept);
            word = near_->keptCharacters;
        }
        ids.push_back(near_->words->foldedId(word));
        if (to == window.end)
            break;
        from = to + 1;
    }
    const std::uint32_t folded = near_->classOfFold(ids);
    near_->setFoldedClass(Index(side), window.id, folded, sideOf(side).nextId);
    ++near_->folds[folded].count[Index(side)];
    near_->repeats.reset();
}

void RepeatTracker::unfold(TextSide side, const Window& window)
{
    const std::uint32_t folded =
        near_ && !near_->abandoned ? near_->foldedClass(Index(side), window.id) : NoIndex;
    if (folded == NoIndex)
        return;
    --near_->folds[folded].count[Index(side)];
    near_->repeats.reset();
}

bool RepeatTracker::foldSome(std::size_t shingles)
{
    if (!near_)
        return false;
    for (const TextSide side : {TextSide::Source, TextSide::NewText}) {
        std::vector<Window>& windows = sideOf(side).windows;
        std::size_t& next = near_->next[Index(side)];
        for (; next < windows.size() && shingles > 0; ++next) {
            if (near_->abandoned)
                return true;
            if (near_->foldedClass(Index(side), windows[next].id) == NoIndex) {
                fold(side, windows[next]);
                --shingles;
            }
        }
        if (near_->abandoned)
            return true;
        if (next < windows.size())
            return false;
    }
    near_->known = true;
    near_->repeats.reset();
    return true;
}

bool RepeatTracker::areNearRepeatsKnown() const
{
    return near_ && near_->known;
}

bool RepeatTracker::hasShinglesToFold() const
{
    return near_ && !near_->abandoned &&
           (near_->next[0] < sides_[0]->windows.size() ||
            near_->next[1] < sides_[1]->windows.size());
}

std::size_t RepeatTracker::nearRepeatCount() const
{
    if (!areNearRepeatsKnown())
        return 0;
    if (!near_->repeats)
        near_->repeats = static_cast<std::size_t>(
            std::ranges::count_if(sideOf(TextSide::NewText).windows, [this](const Window& window) {
                return isMarked(TextSide::NewText, window, RepeatKind::Near);
            }));
    return near_->repeats.value_or(0);
}

std::vector<TextRange> RepeatTracker::marks(TextSide side, std::size_t from, std::size_t to,
                                            RepeatKind kind) const
{
    std::vector<TextRange> runs;
    if (!active_)
        return runs;
    const Side& marked = sideOf(side);
    for (std::size_t i = marked.firstReaching(from);
         i < marked.windows.size() && marked.windows[i].start < to; ++i) {
        const Window& window = marked.windows[i];
        if (!isMarked(side, window, kind) || window.end <= from)
            continue;
        const TextRange range{std::max<std::size_t>(window.start, from),
                              std::min<std::size_t>(window.end, to)};
        if (!runs.empty() && range.start <= runs.back().end)
            runs.back().end = std::max(runs.back().end, range.end);
        else
            runs.push_back(range);
    }
    return runs;
}

bool RepeatTracker::isMarkedWithin(TextSide side, std::size_t from, std::size_t to,
                                   RepeatKind kind) const
{
    if (!active_)
        return false;
    const Side& marked = sideOf(side);
    for (std::size_t i = marked.firstReaching(from);
         i < marked.windows.size() && marked.windows[i].start < to; ++i) {
        if (marked.windows[i].end > from && isMarked(side, marked.windows[i], kind))
            return true;
    }
    return false;
}

std::optional<TextRange> RepeatTracker::nextMark(TextSide side, std::size_t from,
                                                 RepeatKind kind) const
{
    if (!active_)
        return std::nullopt;
    const Side& marked = sideOf(side);
    std::optional<TextRange> run;
    for (std::size_t i = marked.firstReaching(from); i < marked.windows.size(); ++i) {
        const Window& window = marked.windows[i];
        if (!isMarked(side, window, kind))
            continue;
        if (run && window.start <= run->end) {
            run->end = std::max<std::size_t>(run->end, window.end);
            continue;
        }
        if (run && run->start >= from)
            return run;
        run = TextRange{window.start, window.end};
    }
    if (run && run->start >= from)
        return run;
    return std::nullopt;
}

// The run of the last marked shingle before window `index`, grown back over the marked shingles
// it joins; `below` is set to the index under which the rest lies. Ends never fall from one
// shingle to the next, so the run ends where that last shingle does, and runs close going back.
std::optional<TextRange> RepeatTracker::runBefore(TextSide side, std::size_t index, RepeatKind kind,
                                                  std::size_t& below) const
{
    const Side& marked = sideOf(side);
    std::optional<TextRange> run;
    std::size_t i = index;
    for (; i > 0; --i) {
        const Window& window = marked.windows[i - 1];
        if (!isMarked(side, window, kind))
            continue;
        if (!run)
            run = TextRange{window.start, window.end};
        else if (window.end >= run->start)
            run->start = window.start;
        else
            break;
    }
    below = i;
    return run;
}

// Grows `run` on over the marked shingles from window `index` on that join it.
void RepeatTracker::growOn(TextSide side, std::size_t index, TextRange& run, RepeatKind kind) const
{
    const Side& marked = sideOf(side);
    for (std::size_t i = index; i < marked.windows.size() && marked.windows[i].start <= run.end;
         ++i) {
        if (isMarked(side, marked.windows[i], kind))
            run.end = std::max<std::size_t>(run.end, marked.windows[i].end);
    }
}

std::optional<TextRange> RepeatTracker::previousMark(TextSide side, std::size_t from,
                                                     RepeatKind kind) const
{
    if (!active_)
        return std::nullopt;
    const Side& marked = sideOf(side);
    const auto after = static_cast<std::size_t>(
        std::ranges::lower_bound(marked.windows, from, {}, &Window::start) -
        marked.windows.begin());
    std::size_t below = 0;
    std::optional<TextRange> run = runBefore(side, after, kind, below);
    if (!run)
        return std::nullopt;
    // The run nearest `from` may go on in shingles that start after it; the one before it ends
    // before it starts.
    growOn(side, after, *run, kind);
    if (run->end <= from)
        return run;
    return runBefore(side, below, kind, below);
}

std::optional<TextRange> RepeatTracker::markAt(TextSide side, std::size_t position,
                                               RepeatKind kind) const
{
    if (!active_)
        return std::nullopt;
    const Side& marked = sideOf(side);
    const auto after = static_cast<std::size_t>(
        std::ranges::upper_bound(marked.windows, position, {}, &Window::start) -
        marked.windows.begin());
    std::size_t below = 0;
    std::optional<TextRange> run = runBefore(side, after, kind, below);
    if (!run || run->end <= position)
        return std::nullopt;
    growOn(side, after, *run, kind);
    return run;
}

bool RepeatTracker::pairInPlace(std::size_t entry) const
{
    const Pair& pair = pairs_[entry];
    return sideOf(TextSide::NewText).byId(pair.newTextId) &&
           sideOf(TextSide::Source).byId(pair.sourceId);
}

const std::vector<bool>& RepeatTracker::entriesRepeating() const
{
    if (repeatingKnown_)
        return repeating_;
    // What each combination may keep: the pairs a compare would count of it now, and no more
    // than the listing holds. A pair in place is one of those.
    std::vector<std::uint64_t> room(combinations_);
    for (const Pair& pair : pairs_) {
        room[pair.combination] = std::uint64_t{classes_->count(pair.shingleClass, 0)} *
                                 classes_->count(pair.shingleClass, 1);
    }
    repeating_.assign(pairs_.size(), false);
    for (std::size_t entry = 0; entry < pairs_.size(); ++entry) {
        if (pairInPlace(entry)) {
            repeating_[entry] = true;
            assert(room[pairs_[entry].combination] > 0);
            --room[pairs_[entry].combination];
        }
    }
    for (std::size_t entry = 0; entry < pairs_.size(); ++entry) {
        std::uint64_t& left = room[pairs_[entry].combination];
        if (!repeating_[entry] && left > 0) {
            repeating_[entry] = true;
            --left;
        }
    }
    repeatingKnown_ = true;
    return repeating_;
}

bool RepeatTracker::pairRepeats(std::size_t entry) const
{
    return active_ && entry < pairs_.size() && entriesRepeating()[entry];
}

std::optional<TextRange> RepeatTracker::pairExtent(std::size_t entry, TextSide side) const
{
    if (!pairRepeats(entry))
        return std::nullopt;
    const Pair& own = pairs_[entry];
    const Side& holder = sideOf(side);
    if (pairInPlace(entry))
        return holder.extent(
            *holder.byId(side == TextSide::NewText ? own.newTextId : own.sourceId));

    // Another pair of the combination: the how-manieth of the entries out of place that still
    // repeat this is, among the pairs of the combination in the listing's order that no entry in
    // place holds.
    std::size_t rank = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> held;
    const std::vector<bool>& repeating = entriesRepeating();
    for (std::size_t other = 0; other < pairs_.size(); ++other) {
        if (pairs_[other].combination != own.combination)
            continue;
        if (pairInPlace(other))
            held.emplace_back(pairs_[other].newTextId, pairs_[other].sourceId);
        else if (other < entry && repeating[other])
            ++rank;
    }
    std::ranges::sort(held);
    const auto ofClass = [&own](const Side& of) {
        std::vector<const Window*> found;
        for (const Window& window : of.windows) {
            if (window.shingleClass == own.shingleClass)
                found.push_back(&window);
        }
        return found;
    };
    const std::vector<const Window*> newWindows = ofClass(sideOf(TextSide::NewText));
    const std::vector<const Window*> sourceWindows = ofClass(sideOf(TextSide::Source));
    for (const Window* newWindow : newWindows) {
        for (const Window* sourceWindow : sourceWindows) {
            if (std::ranges::binary_search(held, std::pair{newWindow->id, sourceWindow->id}))
                continue;
            if (rank-- == 0)
                return holder.extent(side == TextSide::NewText ? *newWindow : *sourceWindow);
        }
    }
    return std::nullopt;
}

} // namespace analysis
