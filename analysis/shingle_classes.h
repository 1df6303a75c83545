// Equal shingles of both texts in one class each, counted per text, and told apart by their
// characters, not by a hash alone. A class stands for its characters by one of its shingles (a
// window of either text, named by its id); when that shingle goes while others remain, or while
// the listing names the class, the characters are kept in the table's own store.
//
// Open addressing over a power-of-two table, each slot the upper half of a hash and a class; it
// grows into a table twice the size, a few slots at each lookup.
// Ordinary text looks at one or two slots a shingle. Text made against the fixed hash makes it
// look at many more, or puts two different shingles on one hash: the table is then crowded, and
// its owner hashes everything again under a key the text cannot know (rehash()), so that no text
// costs more than a small constant over ordinary text.
#pragma once

#include "shingle_hash.h"
#include "shingle_windows.h"

#include <cassert>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace analysis::detail {

// A text's characters whose kept ones are a class's: the range [start, end) of `text`.
struct ClassCharacters
{
    std::u16string_view text;
    std::size_t start = 0;
    std::size_t end = 0;
};

// Whether the kept characters of two ranges are the same.
bool KeptEqual(const ClassCharacters& a, const ClassCharacters& b);

class ShingleClasses
{
public:
    // Room for `expected` classes before the table grows.
    ShingleClasses(std::size_t expected, ShingleHash hash);
    // Empty again, with room for `expected` classes, keeping what memory it has.
    void reset(std::size_t expected, ShingleHash hash);

    const ShingleHash& hash() const { return hash_; }
    std::size_t size() const { return entries_.size(); }
    // Characters the classes keep themselves, their representatives edited.
    std::size_t keptCharacters() const { return store_.size() - 2 * storedClasses_; }

    void prefetch(std::uint64_t hash) const
    {
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }

    // The class of the characters kept from `characters`, whose hash is `hash`. A new class is
    // represented by window `window` of text `side`. `resolve(side, window)` gives a window's
    // characters.
    template <typename Resolve>
    std::uint32_t classOf(const ClassCharacters& characters, std::uint64_t hash, int side,
                          std::uint32_t window, Resolve&& resolve)
    {
        ++lookups_;
        // Grown before a class is made, not after: a class is counted only once its maker has
        // it, and growing forgets the classes counted nowhere.
        if ((filled_ + 1) * 4 > slots_.size() * 3)
            grow(resolve);
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        std::size_t free = 0;
        std::optional<std::uint32_t> found = lookUp(slots_, characters, hash, resolve, &free);
        if (!found && moving_ < old_.size())
            found = lookUp(old_, characters, hash, resolve, nullptr);
        if (!found) {
            found = static_cast<std::uint32_t>(entries_.size());
            entries_.push_back({{0, 0}, window});
            flags_.push_back(static_cast<std::uint8_t>(side == 0 ? 0 : Side));
            slots_[free] = (std::uint64_t{tag} << 32) | (*found + 1);
            ++filled_;
        }
        if (moving_ < old_.size())
            moveOld(SlotsMovedALookup, resolve);
        return *found;
    }

    std::uint32_t count(std::uint32_t shingleClass, int side) const
    {
        return entries_[shingleClass].count[side];
    }
    void add(std::uint32_t shingleClass, int side) { ++entries_[shingleClass].count[side]; }
    void remove(std::uint32_t shingleClass, int side)
    {
        assert(entries_[shingleClass].count[side] > 0);
        --entries_[shingleClass].count[side];
    }

    // A class no shingle has any more is forgotten, unless the listing names it.
    bool isAlive(std::uint32_t shingleClass) const
    {
        const Entry& entry = entries_[shingleClass];
        return entry.count[0] + entry.count[1] > 0 || (flags_[shingleClass] & Listed) != 0;
    }
    bool isRepresentedBy(std::uint32_t shingleClass, int side, std::uint32_t window) const
    {
        const std::uint8_t flags = flags_[shingleClass];
        return (flags & Stored) == 0 && ((flags & Side) != 0) == (side != 0) &&
               entries_[shingleClass].position == window;
    }
    // The class keeps its characters itself, as its representative goes.
    void keep(std::uint32_t shingleClass, const ClassCharacters& characters);
    // The characters of the class's representative, a shingle of text `side`, are about to
    // change. A class that has no other shingle and that the listing does not name is let go
    // rather than kept: its shingle is no longer counted, so no lookup finds it, and the shingle
    // is not to be removed again when it goes (isReleased()). So a pane cleared or pasted over
    // does not copy the characters of every shingle it held.
    void release(std::uint32_t shingleClass, int side, const ClassCharacters& characters)
    {
        Entry& entry = entries_[shingleClass];
        if (entry.count[0] + entry.count[1] == 1 && (flags_[shingleClass] & Listed) == 0) {
            assert(entry.count[side] == 1);
            entry.count[side] = 0;
            flags_[shingleClass] |= Released;
        } else {
            keep(shingleClass, characters);
        }
    }
    bool isReleased(std::uint32_t shingleClass) const
    {
        return (flags_[shingleClass] & Released) != 0;
    }
    // The listing names the class: it outlives its last shingle.
    void list(std::uint32_t shingleClass) { flags_[shingleClass] |= Listed; }

    template <typename Resolve>
    ClassCharacters characters(std::uint32_t shingleClass, Resolve&& resolve) const
    {
        const Entry& entry = entries_[shingleClass];
        if ((flags_[shingleClass] & Stored) != 0) {
            // The store holds the characters' count in two code units before them.
            const std::size_t length =
                std::size_t{store_[entry.position]} | std::size_t{store_[entry.position + 1]} << 16;
            return {store_, entry.position + 2, entry.position + 2 + length};
        }
        return resolve((flags_[shingleClass] & Side) != 0 ? 1 : 0, entry.position);
    }

    // Whether text made against the fixed hash crowds the table; its owner then hashes every
    // class again with a keyed hash.
    bool isCrowded() const { return sameHash_ || probes_ > 16 * lookups_ + 1024; }
    // Slots looked at since the table was made or hashed again: the work its lookups took.
    std::uint64_t probes() const { return probes_; }
    // Slots of the table before it last grew that are still to be moved into the new one.
    std::size_t slotsToMove() const { return old_.size() - moving_; }

    // Every living class hashed again with `hash`, in a table of room for them all.
    template <typename Resolve> void rehash(const ShingleHash& hash, Resolve&& resolve)
    {
        hash_ = hash;
        rebuild(slots_.size(), resolve);
    }

private:
    static constexpr std::uint8_t Side = 1;   // the representative's text is the source
    static constexpr std::uint8_t Stored = 2; // the characters are in the table's store
    static constexpr std::uint8_t Listed = 4;
    static constexpr std::uint8_t Released = 8; // its one shingle, being edited, uncounted

    struct Entry
    {
        std::uint32_t count[2];
        std::uint32_t position; // a window's id, or where the characters are stored
    };

    // The class in `slots` of the characters whose hash is `hash`; where the probe ended, in
    // `free`, when there is none. Inlined: the compare's counting is one lookup a shingle, and
    // called from two places, the compiler may leave it out of line, which costs a compare of
    // two articles about a tenth of its time.
    template <typename Resolve>
    [[gnu::always_inline]] std::optional<std::uint32_t>
    lookUp(const std::vector<std::uint64_t>& slots, const ClassCharacters& characters,
           std::uint64_t hash, Resolve& resolve, std::size_t* free)
    {
        const std::size_t mask = slots.size() - 1;
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            ++probes_;
            const std::uint64_t slot = slots[i];
            if (slot == 0) {
                if (free)
                    *free = i;
                return std::nullopt;
            }
            if (static_cast<std::uint32_t>(slot >> 32) != tag)
                continue;
            const auto shingleClass = static_cast<std::uint32_t>(slot) - 1;
            if (!isAlive(shingleClass))
                continue;
            if (KeptEqual(characters, this->characters(shingleClass, resolve)))
                return shingleClass;
            // Two different shingles on one hash, save for its lower bits: only text made for the
            // fixed hash does that but once in billions of shingles.
            if (!hash_.isKeyed())
                sameHash_ = true;
        }
    }

    // A table that grows moves this many of the old one's taken slots at each lookup. The new
    // table has room for twice the living classes, so at least a quarter of it is filled by new
    // classes, one a lookup, before it grows again: by then its old one, no larger than it,
    // is empty.
    static constexpr std::size_t SlotsMovedALookup = 4;

    // Makes a table of room for twice the living classes, the old one's size or more (the
    // forgotten classes take no slot once moved, so it need not always double), into which the
    // old one's slots move a few at each lookup: a settle slice that makes the table grow does
    // not hash every class again at once.
    template <typename Resolve> void grow(Resolve&& resolve)
    {
        moveOld(old_.size(), resolve);
        std::size_t alive = 0;
        for (std::uint32_t shingleClass = 0; shingleClass < entries_.size(); ++shingleClass)
            alive += isAlive(shingleClass) ? 1 : 0;
        std::size_t capacity = slots_.size();
        while (alive * 2 > capacity)
            capacity *= 2;
        old_ = std::exchange(slots_, std::vector<std::uint64_t>(capacity, 0));
        moving_ = 0;
        // Only the new table's slots count towards its growing: had the old one's, a table that
        // did not double would grow again at the next lookup, moving every slot at once.
        filled_ = 0;
    }

    // Moves up to `count` slots of the old table into the new one, hashing each class again;
    // those of forgotten classes go.
    template <typename Resolve> void moveOld(std::size_t count, Resolve& resolve)
    {
        for (; count > 0 && moving_ < old_.size(); ++moving_) {
            const std::uint64_t slot = old_[moving_];
            if (slot == 0)
                continue;
            --count;
            if (const auto shingleClass = static_cast<std::uint32_t>(slot) - 1;
                isAlive(shingleClass))
                place(shingleClass, resolve);
        }
        if (moving_ == old_.size() && !old_.empty()) {
            old_ = std::vector<std::uint64_t>();
            moving_ = 0;
        }
    }

    template <typename Resolve> void rebuild(std::size_t capacity, Resolve&& resolve)
    {
        old_ = std::vector<std::uint64_t>();
        moving_ = 0;
        slots_.assign(capacity, 0);
        filled_ = 0;
        probes_ = 0;
        lookups_ = 0;
        sameHash_ = false;
        for (std::uint32_t shingleClass = 0; shingleClass < entries_.size(); ++shingleClass) {
            if (isAlive(shingleClass))
                place(shingleClass, resolve);
        }
    }

    // A class put in the table, its characters hashed again: in a table it is not yet in.
    template <typename Resolve> void place(std::uint32_t shingleClass, Resolve& resolve)
    {
        const ClassCharacters kept = characters(shingleClass, resolve);
        const std::uint64_t hash = hash_.shingle(kept.text, kept.start, kept.end);
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        while (slots_[i] != 0)
            i = (i + 1) & mask;
        slots_[i] = ((hash >> 32) << 32) | (shingleClass + 1);
        ++filled_;
    }

    ShingleHash hash_;
    std::vector<std::uint64_t> slots_; // the hash's upper half, and the class + 1; 0 is empty
    std::vector<std::uint64_t> old_;   // the table before it grew, until its slots are moved
    std::size_t moving_ = 0;           // the next slot of the old table to move
    std::size_t filled_ = 0;           // slots taken in the new table
    std::vector<Entry> entries_;
    std::vector<std::uint8_t> flags_;
    std::u16string store_;
    std::size_t storedClasses_ = 0;
    std::uint64_t probes_ = 0;
    std::uint64_t lookups_ = 0;
    bool sameHash_ = false;
};

} // namespace analysis::detail
