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

class ShingleCounts
{
public:
    explicit ShingleCounts(std::span<const std::u16string_view> shingles)
    {
        std::size_t capacity = 16;
        while (capacity < shingles.size() * 2)
            capacity *= 2;
        slots_.resize(capacity);
        mask_ = capacity - 1;
        for (const std::u16string_view shingle : shingles)
            ++find(shingle, HashShingle(shingle)).count;
    }

    std::int64_t countOf(std::u16string_view shingle) const
    {
        const std::uint64_t hash = HashShingle(shingle);
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.count == 0)
                return 0;
            if (slot.hash == hash && slot.key == shingle)
                return slot.count;
        }
    }

private:
    struct Slot
    {
        std::u16string_view key;
        std::uint64_t hash = 0;
        std::int64_t count = 0;
    };

    Slot& find(std::u16string_view shingle, std::uint64_t hash)
    {
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.count == 0) {
                slot.key = shingle;
                slot.hash = hash;
                return slot;
            }
            if (slot.hash == hash && slot.key == shingle)
                return slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

} // namespace analysis::detail
