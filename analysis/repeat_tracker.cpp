#include "repeat_tracker.h"

#include "match_listing.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <limits>
#include <memory>
#include <numeric>
#include <random>

namespace analysis {

namespace {

constexpr char16_t Space = u' ';
constexpr std::uint32_t NoIndex = std::numeric_limits<std::uint32_t>::max();

// Whether preparation keeps a character: every one but the sixteen punctuation marks, all of
// them below U+0080.
bool Kept(char16_t c)
{
    static constexpr auto Removed = [] {
        std::array<bool, 128> removed{};
        for (const char16_t mark : std::u16string_view(u",./-=)(+^#%@\"!?*"))
            removed[mark] = true;
        return removed;
    }();
    return c >= Removed.size() || !Removed[c];
}

std::size_t NextKept(std::u16string_view text, std::size_t from)
{
    while (from < text.size() && !Kept(text[from]))
        ++from;
    return from;
}

// Where a window of the shingle chain starts, and where it starts looking for spaces: the
// first window looks from the beginning, every later one from its second character.
struct ChainState
{
    std::size_t start = 0;
    std::size_t examineFrom = 0;
};

ChainState FirstState(std::u16string_view text)
{
    return {NextKept(text, 0), 0};
}

struct Cut
{
    std::size_t start = 0;
    std::size_t closingSpace = 0;
    std::size_t end = 0;
    ChainState next;
};

// The window at `state` of an unprepared text: its shingle is the window's characters less the
// removed punctuation, up to its third space, less the spaces at its end. The next window
// starts at the first character kept after the window's first space.
std::optional<Cut> CutWindow(std::u16string_view text, ChainState state)
{
    const std::size_t first = text.find(Space, state.examineFrom);
    if (first == std::u16string_view::npos)
        return std::nullopt;
    const std::size_t second = text.find(Space, first + 1);
    if (second == std::u16string_view::npos)
        return std::nullopt;
    const std::size_t third = text.find(Space, second + 1);
    if (third == std::u16string_view::npos)
        return std::nullopt;
    std::size_t end = third;
    while (end > state.start && (text[end - 1] == Space || !Kept(text[end - 1])))
        --end;
    const std::size_t next = NextKept(text, first + 1);
    return Cut{state.start, third, end, {next, next + 1}};
}

std::uint64_t ProcessSeed()
{
    static const std::uint64_t seed = [] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device();
    }();
    return seed;
}

// The characters kept from `range` of `text`, hashed four to a word with a seed the text
// cannot know.
std::uint64_t HashKept(std::u16string_view text, TextRange range)
{
    constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = ProcessSeed();
    std::uint64_t word = 0;
    int filled = 0;
    for (std::size_t i = range.start; i < range.end; ++i) {
        if (!Kept(text[i]))
            continue;
        word = (word << 16) | text[i];
        if (++filled == 4) {
            hash = (hash ^ word) * Multiplier;
            hash ^= hash >> 29;
            word = 0;
            filled = 0;
        }
    }
    hash = (hash ^ word ^ (std::uint64_t(filled) << 62)) * Multiplier;
    return hash ^ (hash >> 32);
}

// Whether the characters kept from two ranges are the same.
bool KeptEqual(std::u16string_view a, TextRange ra, std::u16string_view b, TextRange rb)
{
    std::size_t i = NextKept(a.substr(0, ra.end), ra.start);
    std::size_t k = NextKept(b.substr(0, rb.end), rb.start);
    while (i < ra.end && k < rb.end) {
        if (a[i] != b[k])
            return false;
        i = NextKept(a.substr(0, ra.end), i + 1);
        k = NextKept(b.substr(0, rb.end), k + 1);
    }
    return i >= ra.end && k >= rb.end;
}

void AppendKept(std::u16string& to, std::u16string_view text, TextRange range)
{
    for (std::size_t i = range.start; i < range.end; ++i) {
        if (Kept(text[i]))
            to.push_back(text[i]);
    }
}

int Index(TextSide side)
{
    return side == TextSide::NewText ? 0 : 1;
}

TextSide Other(TextSide side)
{
    return side == TextSide::NewText ? TextSide::Source : TextSide::NewText;
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

} // namespace

// One text: its characters, its shingles in order, and what edits left to cut again.
struct RepeatTracker::Side
{
    std::u16string text;
    std::vector<Window> windows;
    std::vector<std::uint32_t> indexOfId;
    std::uint32_t nextId = 0;
    // Closed ranges of the text that edits changed since the last settle, in order.
    std::vector<TextRange> dirty;

    void renumber()
    {
        indexOfId.assign(nextId, NoIndex);
        for (std::size_t i = 0; i < windows.size(); ++i)
            indexOfId[windows[i].id] = static_cast<std::uint32_t>(i);
    }
    const Window* byId(std::uint32_t id) const
    {
        if (id >= indexOfId.size() || indexOfId[id] == NoIndex)
            return nullptr;
        return &windows[indexOfId[id]];
    }
    TextRange extent(const Window& window) const { return {window.start, window.end}; }
    // The windows that might reach `position`: a shingle never reaches past the start of the
    // third shingle after it.
    std::size_t firstReaching(std::size_t position) const
    {
        const auto at = std::ranges::lower_bound(windows, position, {}, &Window::start);
        const auto index = static_cast<std::size_t>(at - windows.begin());
        return index > 3 ? index - 3 : 0;
    }
};

// Equal shingles of both texts in one class each, told apart by their characters, not by a
// hash alone. A class stands for its characters by one of its shingles; when an edit takes that
// shingle away while others remain, the characters are kept in the class's own store.
class RepeatTracker::Classes
{
public:
    struct Representative
    {
        std::uint32_t position = 0; // a window's id, or where the characters are stored
        std::uint32_t length : 29 = 0;
        std::uint32_t side : 1 = 0;   // the window's text
        std::uint32_t stored : 1 = 1; // in the class's own store
        // In the listing: the class outlives its last shingle, so that the combination is
        // known again when an undo or a paste brings it back.
        std::uint32_t listed : 1 = 0;
    };
    struct Entry
    {
        std::uint64_t hash = 0;
        Representative representative;
        std::uint32_t count[2] = {0, 0};

        // A class no shingle has any more is forgotten, unless the listing names it.
        bool isAlive() const { return count[0] + count[1] > 0 || representative.listed; }
    };

    explicit Classes(std::size_t expected)
    {
        // Filled to at most three quarters before it grows.
        std::size_t capacity = 16;
        while (capacity * 3 < expected * 4)
            capacity *= 2;
        slots_.assign(capacity, 0);
        entries_.reserve(expected);
    }

    void prefetch(std::uint64_t hash) const
    {
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }

    Entry& operator[](std::uint32_t shingleClass) { return entries_[shingleClass]; }
    const Entry& operator[](std::uint32_t shingleClass) const { return entries_[shingleClass]; }

    // The class of the characters kept from `range` of `text`; `resolve` gives the characters a
    // representative stands for. A new class is represented by `candidate`, or keeps the
    // characters itself when the candidate names no window.
    template <typename Resolve>
    std::uint32_t classOf(std::u16string_view text, TextRange range, std::uint64_t hash,
                          Representative candidate, Resolve&& resolve)
    {
        const std::size_t mask = slots_.size() - 1;
        const std::uint64_t tag = hash >> 32;
        std::size_t i = hash & mask;
        for (;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                break;
            if ((slot >> 32) != tag)
                continue;
            const auto shingleClass = static_cast<std::uint32_t>(slot & 0xFFFFFFFFu) - 1;
            const Entry& entry = entries_[shingleClass];
            if (entry.hash != hash || !entry.isAlive())
                continue;
            const auto [theirs, theirRange] = resolve(entry.representative);
            if (KeptEqual(text, range, theirs, theirRange))
                return shingleClass;
        }
        const auto shingleClass = static_cast<std::uint32_t>(entries_.size());
        entries_.push_back({hash, candidate, {0, 0}});
        if (candidate.stored)
            store(shingleClass, text, range);
        slots_[i] = (tag << 32) | (shingleClass + 1);
        if (entries_.size() * 4 > slots_.size() * 3)
            grow();
        return shingleClass;
    }

    // Keeps the characters of a class whose representative goes away.
    void store(std::uint32_t shingleClass, std::u16string_view text, TextRange range)
    {
        Representative& representative = entries_[shingleClass].representative;
        representative.position = static_cast<std::uint32_t>(store_.size());
        AppendKept(store_, text, range);
        representative.length = static_cast<std::uint32_t>(store_.size()) - representative.position;
        representative.stored = 1;
    }

    std::u16string_view stored() const { return store_; }

    void list(std::uint32_t shingleClass) { entries_[shingleClass].representative.listed = 1; }
    std::size_t size() const { return entries_.size(); }

private:
    void grow()
    {
        std::vector<std::uint64_t> slots(slots_.size() * 2, 0);
        const std::size_t mask = slots.size() - 1;
        for (std::uint32_t shingleClass = 0; shingleClass < entries_.size(); ++shingleClass) {
            const std::uint64_t hash = entries_[shingleClass].hash;
            std::size_t i = hash & mask;
            while (slots[i] != 0)
                i = (i + 1) & mask;
            slots[i] = ((hash >> 32) << 32) | (shingleClass + 1);
        }
        slots_ = std::move(slots);
    }

    std::vector<std::uint64_t> slots_; // the hash's upper half, and the class + 1; 0 is empty
    std::vector<Entry> entries_;
    std::u16string store_;
};

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

void RepeatTracker::clear()
{
    active_ = false;
    sides_[0].reset();
    sides_[1].reset();
    classes_.reset();
    pairs_.clear();
    combinations_ = 0;
    repeatingKnown_ = false;
}

namespace {

// Every shingle of a text, with ids in order.
std::vector<RepeatTracker::Window> CutAll(std::u16string_view text)
{
    std::vector<RepeatTracker::Window> windows;
    windows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), Space)));
    for (std::optional<Cut> cut = CutWindow(text, FirstState(text)); cut;
         cut = CutWindow(text, cut->next))
        windows.push_back(
            {static_cast<std::uint32_t>(cut->start), static_cast<std::uint32_t>(cut->closingSpace),
             static_cast<std::uint32_t>(cut->end), 0, static_cast<std::uint32_t>(windows.size())});
    return windows;
}

} // namespace

ComparisonOutcome RepeatTracker::compare(std::u16string newText, std::u16string source)
{
    std::unique_ptr<Side> sides[2] = {std::make_unique<Side>(), std::make_unique<Side>()};
    sides[0]->text = std::move(newText);
    sides[1]->text = std::move(source);
    for (const auto& side : sides)
        side->windows = CutAll(side->text);
    if (sides[1]->windows.size() < MinimumShingleCount ||
        sides[0]->windows.size() < MinimumShingleCount)
        return TooFewShingles{};
    // The earlier compare goes before this one is counted, rather than beside it.
    clear();

    auto classes = std::make_unique<Classes>(sides[0]->windows.size() + sides[1]->windows.size());
    const auto resolve = [&sides, &classes](const Classes::Representative& representative) {
        if (representative.stored)
            return std::pair{classes->stored(), TextRange{representative.position,
                                                          std::size_t{representative.position} +
                                                              representative.length}};
        const Side& side = *sides[representative.side];
        const Window& window = side.windows[representative.position]; // ids are indexes here
        return std::pair{std::u16string_view(side.text), side.extent(window)};
    };
    // The source first, so that its shingles are known when the new text's are counted. The
    // table is far larger than the caches: hash a batch ahead and prefetch its slots.
    constexpr std::size_t Ahead = 16;
    for (const int index : {1, 0}) {
        Side& side = *sides[index];
        std::vector<Window>& windows = side.windows;
        std::vector<std::uint64_t> hashes(windows.size());
        for (std::size_t i = 0; i < windows.size(); ++i)
            hashes[i] = HashKept(side.text, side.extent(windows[i]));
        for (std::size_t i = 0; i < std::min(Ahead, windows.size()); ++i)
            classes->prefetch(hashes[i]);
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (i + Ahead < windows.size())
                classes->prefetch(hashes[i + Ahead]);
            Window& window = windows[i];
            window.shingleClass =
                classes->classOf(side.text, side.extent(window), hashes[i],
                                 {window.id, 0, static_cast<std::uint32_t>(index), 0}, resolve);
            ++(*classes)[window.shingleClass].count[index];
        }
        side.nextId = static_cast<std::uint32_t>(windows.size());
        side.renumber();
    }

    // The source's shingles grouped by class, in their order: the pairs of each new shingle.
    const Side& newSide = *sides[0];
    const Side& sourceSide = *sides[1];
    std::vector<std::uint32_t> groupStart(newSide.windows.size() + sourceSide.windows.size() + 1,
                                          0);
    for (const Window& window : sourceSide.windows)
        ++groupStart[window.shingleClass + 1];
    std::partial_sum(groupStart.begin(), groupStart.end(), groupStart.begin());
    std::vector<std::uint32_t> grouped(sourceSide.windows.size());
    {
        std::vector<std::uint32_t> next(groupStart.begin(), groupStart.end() - 1);
        for (const Window& window : sourceSide.windows)
            grouped[next[window.shingleClass]++] = window.id;
    }

    ComparisonResult result;
    result.NewShingleCount = static_cast<std::int64_t>(newSide.windows.size());
    result.SourceShingleCount = static_cast<std::int64_t>(sourceSide.windows.size());
    std::vector<std::int64_t> matches(newSide.windows.size());
    for (std::size_t i = 0; i < matches.size(); ++i) {
        matches[i] = (*classes)[newSide.windows[i].shingleClass].count[1];
        result.MatchCount += matches[i];
    }
    const auto kept = [&newSide](std::size_t i) {
        const TextRange extent = newSide.extent(newSide.windows[i]);
        return static_cast<std::size_t>(std::count_if(newSide.text.begin() + extent.start,
                                                      newSide.text.begin() + extent.end, Kept));
    };
    detail::MatchListing listing = detail::BuildMatchListing(
        matches, result.MatchCount, kept, [&newSide](std::size_t i, std::u16string& to) {
            AppendKept(to, newSide.text, newSide.extent(newSide.windows[i]));
        });
    result.MatchListing = std::move(listing.text);
    std::vector<Pair> pairs;
    pairs.reserve(static_cast<std::size_t>(listing.entries));
    for (const Window& window : newSide.windows) {
        for (std::int64_t k = 0;
             k < matches[window.id] && static_cast<std::int64_t>(pairs.size()) < listing.entries;
             ++k)
            pairs.push_back({window.id,
                             grouped[groupStart[window.shingleClass] + static_cast<std::size_t>(k)],
                             window.shingleClass, 0});
    }
    // The listing's combinations numbered in the order they first appear.
    std::vector<std::uint32_t> combinationOf(classes->size(), NoIndex);
    std::uint32_t combinations = 0;
    for (Pair& pair : pairs) {
        std::uint32_t& combination = combinationOf[pair.shingleClass];
        if (combination == NoIndex) {
            combination = combinations++;
            classes->list(pair.shingleClass);
        }
        pair.combination = combination;
    }
    result.Percentage =
        ComputePercentage(result.MatchCount, result.NewShingleCount, result.SourceShingleCount);

    sides_[0] = std::move(sides[0]);
    sides_[1] = std::move(sides[1]);
    classes_ = std::move(classes);
    pairs_ = std::move(pairs);
    combinations_ = combinations;
    repeatingKnown_ = false;
    active_ = true;
    return result;
}

void RepeatTracker::replace(TextSide side, std::size_t position, std::size_t removed,
                            std::u16string_view inserted)
{
    if (!active_)
        return;
    Side& edited = sideOf(side);
    const EditMap map{position, removed, inserted.size()};
    const std::size_t first = edited.firstReaching(position);
    // A class represented by a shingle whose characters this edit changes keeps them first.
    for (std::size_t i = first;
         i < edited.windows.size() && edited.windows[i].start <= position + removed; ++i) {
        const Window& window = edited.windows[i];
        Classes::Entry& entry = (*classes_)[window.shingleClass];
        if (window.end >= position && !entry.representative.stored &&
            entry.representative.side == static_cast<std::uint32_t>(Index(side)) &&
            entry.representative.position == window.id)
            classes_->store(window.shingleClass, edited.text, edited.extent(window));
    }
    edited.text.replace(position, removed, inserted);
    for (std::size_t i = first; i < edited.windows.size(); ++i) {
        Window& window = edited.windows[i];
        window.start = static_cast<std::uint32_t>(map.start(window.start));
        window.closingSpace = static_cast<std::uint32_t>(map.start(window.closingSpace));
        window.end =
            static_cast<std::uint32_t>(std::max(map.end(window.end), std::size_t{window.start}));
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
    edited.dirty = std::move(dirty);
}

bool RepeatTracker::isSettled() const
{
    return !active_ ||
           (sideOf(TextSide::NewText).dirty.empty() && sideOf(TextSide::Source).dirty.empty());
}

void RepeatTracker::settle()
{
    if (!active_)
        return;
    settle(TextSide::NewText);
    settle(TextSide::Source);
    repeatingKnown_ = false;
}

void RepeatTracker::settle(TextSide side)
{
    Side& edited = sideOf(side);
    if (edited.dirty.empty())
        return;
    const int index = Index(side);
    const std::u16string_view text = edited.text;
    const std::vector<Window>& old = edited.windows;

    // A shingle is to be cut again when an edit lies between its start and its closing space;
    // the first one also when it lies before its start, where it looks for its first character.
    std::vector<bool> untrusted(old.size(), false);
    {
        std::size_t d = 0;
        for (std::size_t i = 0; i < old.size(); ++i) {
            const std::size_t reads = i == 0 ? 0 : old[i].start;
            while (d < edited.dirty.size() && edited.dirty[d].end < reads)
                ++d;
            if (d < edited.dirty.size() && edited.dirty[d].start <= old[i].closingSpace)
                untrusted[i] = true;
        }
    }

    const auto resolve = [this](const Classes::Representative& representative) {
        if (representative.stored)
            return std::pair{classes_->stored(), TextRange{representative.position,
                                                           std::size_t{representative.position} +
                                                               representative.length}};
        const Side& holder = *sides_[representative.side];
        return std::pair{std::u16string_view(holder.text),
                         holder.extent(*holder.byId(representative.position))};
    };
    const auto drop = [&](const Window& window) {
        Classes::Entry& entry = (*classes_)[window.shingleClass];
        --entry.count[index];
        if (!entry.representative.stored &&
            entry.representative.side == static_cast<std::uint32_t>(index) &&
            entry.representative.position == window.id && entry.isAlive())
            classes_->store(window.shingleClass, text, edited.extent(window));
    };

    const auto cutAnew = [&](const Cut& cut) {
        // A class an edit brings keeps its characters itself: its shingle is not yet among the
        // windows that representatives are looked up in.
        const TextRange range{cut.start, cut.end};
        const std::uint32_t shingleClass =
            classes_->classOf(text, range, HashKept(text, range), {}, resolve);
        return Window{static_cast<std::uint32_t>(cut.start),
                      static_cast<std::uint32_t>(cut.closingSpace),
                      static_cast<std::uint32_t>(cut.end), shingleClass, edited.nextId};
    };

    std::vector<Window> fresh;
    fresh.reserve(old.size() + 16);
    std::size_t i = 0;
    while (i < old.size()) {
        if (!untrusted[i]) {
            fresh.push_back(old[i++]);
            continue;
        }
        // The kept shingle before this one is untouched, and so is where this one starts.
        bool first = fresh.empty();
        ChainState state = first ? FirstState(text) : ChainState{old[i].start, old[i].start + 1u};
        std::size_t j = i;
        while (true) {
            const std::optional<Cut> cut = CutWindow(text, state);
            if (!cut) {
                for (; j < old.size(); ++j)
                    drop(old[j]);
                break;
            }
            while (j < old.size() && old[j].start < cut->start)
                drop(old[j++]);
            if (j < old.size() && old[j].start == cut->start && !untrusted[j] && first == (j == 0))
                break; // back on the old chain: the rest is as it was
            Window window = cutAnew(*cut);
            const bool replacing = j < old.size() && old[j].start == window.start;
            if (replacing && old[j].closingSpace == window.closingSpace &&
                old[j].end == window.end && old[j].shingleClass == window.shingleClass) {
                window.id = old[j++].id; // the same shingle where it was
            } else {
                // Counted before the old one goes, so that a class they share keeps its
                // characters when the old one stood for it.
                ++edited.nextId;
                ++(*classes_)[window.shingleClass].count[index];
                if (replacing)
                    drop(old[j++]);
            }
            fresh.push_back(window);
            state = cut->next;
            first = false;
        }
        i = j;
    }
    // The chain may go on past where it ended: text added after the last shingle's first space.
    std::optional<Cut> next = CutWindow(text, FirstState(text));
    if (!fresh.empty()) {
        const Window& last = fresh.back();
        next = CutWindow(text, {last.start, fresh.size() == 1 ? 0 : last.start + 1u});
        next = next ? CutWindow(text, next->next) : std::nullopt;
    }
    for (; next; next = CutWindow(text, next->next)) {
        fresh.push_back(cutAnew(*next));
        ++edited.nextId;
        ++(*classes_)[fresh.back().shingleClass].count[index];
    }
    edited.windows = std::move(fresh);
    edited.dirty.clear();
    edited.renumber();
}

bool RepeatTracker::isMarked(TextSide side, const Window& window) const
{
    return window.end > window.start &&
           (*classes_)[window.shingleClass].count[Index(Other(side))] > 0;
}

std::vector<TextRange> RepeatTracker::marks(TextSide side, std::size_t from, std::size_t to) const
{
    std::vector<TextRange> runs;
    if (!active_)
        return runs;
    const Side& marked = sideOf(side);
    for (std::size_t i = marked.firstReaching(from);
         i < marked.windows.size() && marked.windows[i].start < to; ++i) {
        const Window& window = marked.windows[i];
        if (!isMarked(side, window) || window.end <= from)
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

std::optional<TextRange> RepeatTracker::nextMark(TextSide side, std::size_t from) const
{
    if (!active_)
        return std::nullopt;
    const Side& marked = sideOf(side);
    std::optional<TextRange> run;
    for (std::size_t i = marked.firstReaching(from); i < marked.windows.size(); ++i) {
        const Window& window = marked.windows[i];
        if (!isMarked(side, window))
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

std::optional<TextRange> RepeatTracker::previousMark(TextSide side, std::size_t from) const
{
    if (!active_)
        return std::nullopt;
    const Side& marked = sideOf(side);
    // Ends never fall from one shingle to the next, so runs close going backwards too. The run
    // nearest `from` may go on in shingles that start after it.
    const auto after = static_cast<std::size_t>(
        std::ranges::lower_bound(marked.windows, from, {}, &Window::start) -
        marked.windows.begin());
    std::optional<TextRange> run;
    bool nearest = true;
    const auto finished = [&] {
        if (nearest) {
            nearest = false;
            for (std::size_t k = after;
                 k < marked.windows.size() && marked.windows[k].start <= run->end; ++k) {
                if (isMarked(side, marked.windows[k]))
                    run->end = std::max<std::size_t>(run->end, marked.windows[k].end);
            }
        }
        return run->end <= from;
    };
    for (std::size_t i = after; i-- > 0;) {
        const Window& window = marked.windows[i];
        if (!isMarked(side, window))
            continue;
        if (run && window.end >= run->start) {
            run->start = window.start;
            continue;
        }
        if (run && finished())
            return run;
        run = TextRange{window.start, window.end};
    }
    if (run && finished())
        return run;
    return std::nullopt;
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
        const Classes::Entry& entry = (*classes_)[pair.shingleClass];
        room[pair.combination] = std::uint64_t{entry.count[0]} * entry.count[1];
    }
    repeating_.assign(pairs_.size(), false);
    for (std::size_t entry = 0; entry < pairs_.size(); ++entry) {
        if (pairInPlace(entry)) {
            repeating_[entry] = true;
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
