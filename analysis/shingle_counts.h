// How often each shingle of the source occurs: an open-addressing table over views into
// the source's prepared text, so that counting allocates once for the whole list.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace analysis::detail {

inline std::uint64_t HashShingle(std::u16string_view text)
{
    // 64-bit multiply-xorshift over four code units at a time.
    constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = text.size() * Multiplier;
    const char16_t* data = text.data();
    std::size_t remaining = text.size();
    while (remaining >= 4) {
        std::uint64_t word;
        std::memcpy(&word, data, sizeof word);
        hash = (hash ^ word) * Multiplier;
        hash ^= hash >> 29;
        data += 4;
        remaining -= 4;
    }
    std::uint64_t tail = 0;
    if (remaining != 0) // an empty shingle's view may hold no pointer at all
        std::memcpy(&tail, data, remaining * sizeof(char16_t));
    hash = (hash ^ tail) * Multiplier;
    hash ^= hash >> 32;
    return hash;
}

// The table is far larger than the caches for long texts, so every probe would wait for memory:
// both filling and reading hash a batch of shingles first and prefetch their slots.
class ShingleCounts
{
public:
    static constexpr std::size_t Ahead = 16;

    explicit ShingleCounts(std::span<const std::u16string_view> shingles) : keys_(shingles)
    {
        std::size_t capacity = 16;
        while (capacity < shingles.size() + shingles.size() / 2)
            capacity *= 2;
        slots_.resize(capacity);
        mask_ = capacity - 1;
        std::vector<std::uint64_t> hashes(shingles.size());
        for (std::size_t i = 0; i < shingles.size(); ++i) {
            hashes[i] = HashShingle(shingles[i]);
            if (i >= Ahead)
                add(i - Ahead, hashes[i - Ahead]);
            prefetch(hashes[i]);
        }
        for (std::size_t i = shingles.size() > Ahead ? shingles.size() - Ahead : 0;
             i < shingles.size(); ++i)
            add(i, hashes[i]);
    }

    void prefetch(std::uint64_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

    std::int64_t countOf(std::u16string_view shingle, std::uint64_t hash) const
    {
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.count == 0)
                return 0;
            if (slot.hash == hash && keys_[slot.key] == shingle)
                return slot.count;
        }
    }

    std::int64_t countOf(std::u16string_view shingle) const
    {
        return countOf(shingle, HashShingle(shingle));
    }

private:
    // The first occurrence stands for all equal shingles.
    struct Slot
    {
        std::uint64_t hash = 0;
        std::uint32_t key = 0;
        std::uint32_t count = 0;
    };

    void add(std::size_t index, std::uint64_t hash)
    {
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.count == 0) {
                slot = {hash, static_cast<std::uint32_t>(index), 1};
                return;
            }
            if (slot.hash == hash && keys_[slot.key] == keys_[index]) {
                ++slot.count;
                return;
            }
        }
    }

    std::span<const std::u16string_view> keys_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

} // namespace analysis::detail
