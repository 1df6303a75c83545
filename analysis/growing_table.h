// An open-addressing table with linear probing that grows without making one insert wait for
// the whole table: once full enough, a table twice the size takes the new slots, and each insert
// moves two slots of the old one across, so the old is empty long before the new one fills.
// Looking a key up checks the new table, then the old one while it still holds slots. The
// near repeats fold texts of megabytes a few hundred shingles at a time between keystrokes;
// doubling a table of millions of slots at once would hold a keystroke for tens of
// milliseconds.
//
// A Slot is trivially copyable, free when all its bytes are zero (`isFree()`), and keeps the low
// bits of its key's hash (`hashBits()`), from which its place in a table of any size follows, or
// its owner tells them as it inserts.
// Tables come zeroed from the system, so that a new one costs its pages only as they fill.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace analysis::detail {

template <typename Slot> class GrowingTable
{
    static_assert(std::is_trivially_copyable_v<Slot>);

public:
    // `slots` is a power of two.
    explicit GrowingTable(std::size_t slots) : slots_(zeroed(slots)) {}

    // The slots, from `least` on, in which `entries` fit before the table grows.
    static std::size_t slotsFor(std::size_t entries, std::size_t least)
    {
        std::size_t slots = least;
        while (entries * 3 > slots * 2)
            slots *= 2;
        return slots;
    }

    std::size_t size() const { return size_; }

    // The slot whose key has `hash` and `matches`, or null.
    template <typename Matches> const Slot* find(std::uint64_t hash, const Matches& matches) const
    {
        if (const Slot* slot = probe(slots_, hash, matches))
            return slot;
        return moving_ < old_.size ? probe(old_, hash, matches) : nullptr;
    }

    // Puts `slot`, whose key no slot holds yet, in its place.
    void insert(const Slot& slot)
    {
        insert(slot, [](const Slot& any) { return any.hashBits(); });
    }
    // The same for slots that keep no bits of their hash: `hashOf(slot)` gives them.
    template <typename HashOf> void insert(const Slot& slot, const HashOf& hashOf)
    {
        if ((size_ + 1) * 3 > slots_.size * 2)
            grow();
        place(slots_, slot, hashOf(slot));
        ++size_;
        for (int moved = 0; moved < 2 && moving_ < old_.size; ++moving_) {
            if (!old_.at[moving_].isFree()) {
                place(slots_, old_.at[moving_], hashOf(old_.at[moving_]));
                ++moved;
            }
        }
        if (moving_ == old_.size && old_.at) {
            old_ = Slots();
            moving_ = 0;
        }
    }

private:
    struct FreeSlots
    {
        void operator()(Slot* slots) const { std::free(slots); }
    };
    struct Slots
    {
        std::unique_ptr<Slot[], FreeSlots> at;
        std::size_t size = 0;
    };

    static Slots zeroed(std::size_t size)
    {
        auto* slots = static_cast<Slot*>(std::calloc(size, sizeof(Slot)));
        if (!slots)
            throw std::bad_alloc();
        return {std::unique_ptr<Slot[], FreeSlots>(slots), size};
    }

    template <typename Matches>
    static const Slot* probe(const Slots& slots, std::uint64_t hash, const Matches& matches)
    {
        const std::size_t mask = slots.size - 1;
        for (std::size_t at = hash & mask; !slots.at[at].isFree(); at = (at + 1) & mask) {
            if (matches(slots.at[at]))
                return &slots.at[at];
        }
        return nullptr;
    }

    static void place(Slots& slots, const Slot& slot, std::uint64_t hash)
    {
        const std::size_t mask = slots.size - 1;
        std::size_t at = hash & mask;
        while (!slots.at[at].isFree())
            at = (at + 1) & mask;
        slots.at[at] = slot;
    }

    // Grown at two thirds full, with two of the old slots moved each insert: the new table is
    // half full once the old one is empty, well before it grows again.
    void grow()
    {
        assert(moving_ == old_.size);
        old_ = std::exchange(slots_, zeroed(slots_.size * 2));
        moving_ = 0;
    }

    Slots slots_;
    Slots old_;              // the table before the last growth, until its slots are moved
    std::size_t moving_ = 0; // the next slot of the old table to move
    std::size_t size_ = 0;
};

// Values found by a 64-bit hash alone, which stands for its key: for keys hashed under a key that
// no text can know, two keys share a hash but once in 2^64.
template <typename Value> class HashedValues
{
public:
    explicit HashedValues(std::size_t slots) : slots_(slots) {}
    // Room for `values` before it grows, and for those `slots` at the least.
    static HashedValues withRoomFor(std::size_t values, std::size_t slots)
    {
        return HashedValues(GrowingTable<Slot>::slotsFor(values, slots));
    }

    std::size_t size() const { return slots_.size(); }

    const Value* find(std::uint64_t hash) const
    {
        const Slot wanted = Slot::of(hash, {});
        const Slot* found = slots_.find(wanted.hashBits(), [&wanted](const Slot& slot) {
            return slot.low == wanted.low && slot.high == wanted.high;
        });
        return found ? &found->value : nullptr;
    }
    // Keeps `value` for `hash`, which no value has yet.
    void insert(std::uint64_t hash, Value value) { slots_.insert(Slot::of(hash, value)); }

private:
    struct Slot
    {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        Value value{};

        // A hash of 0, which would read as a free slot, is taken as 1.
        static Slot of(std::uint64_t hash, Value value)
        {
            hash += hash == 0 ? 1 : 0;
            return {static_cast<std::uint32_t>(hash), static_cast<std::uint32_t>(hash >> 32),
                    value};
        }
        bool isFree() const { return low == 0 && high == 0; }
        std::uint32_t hashBits() const { return low; }
    };

    GrowingTable<Slot> slots_;
};

} // namespace analysis::detail
