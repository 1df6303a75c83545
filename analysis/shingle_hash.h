// The hash of a shingle, made of the hashes of its words (the runs of characters between its
// spaces, empty ones included) so that each word of a text is hashed once however many shingles
// hold it. The characters preparation removes take no part. A fixed fast hash is tried first;
// text made against it is met with a hash it cannot foresee, SipHash under a key drawn from the
// system's random source.
#pragma once

#include "keyed_hash.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace analysis::detail {

// The last one to three code units of a text as a block, the first lowest, put together in
// registers: a copy of a few bytes into a block would go through memory and stall the load that
// reads it back.
inline std::uint64_t LastUnits(const char16_t* units, std::size_t count)
{
    std::uint64_t block = 0;
    switch (count) {
    case 3:
        block = std::uint64_t{units[2]} << 32;
        [[fallthrough]];
    case 2:
        block |= std::uint64_t{units[1]} << 16;
        [[fallthrough]];
    case 1:
        block |= units[0];
        break;
    default:
        break;
    }
    return block;
}

class ShingleHash
{
public:
    // The fixed hash.
    ShingleHash() = default;
    explicit ShingleHash(const HashKey& key) : key_(key) {}

    bool isKeyed() const { return key_.has_value(); }

    // The hash of a word, which holds no space; `removed` tells whether it holds characters that
    // preparation removes, which are then left out.
    std::uint64_t word(std::u16string_view characters, bool removed) const
    {
        if (key_ || removed)
            return wordLeavingOut(characters);
        return fixedHash(characters.data(), characters.size());
    }
    // A shingle's hash from its `count` words' hashes, `wordHash(i)` the i-th.
    template <typename WordHash> std::uint64_t combine(std::size_t count, WordHash&& wordHash) const
    {
        std::uint64_t hash = (key_ ? key_->k1 : 0) ^ (count * Multiplier);
        for (std::size_t i = 0; i < count; ++i)
            hash = step(hash, wordHash(i));
        hash *= Multiplier;
        return hash ^ (hash >> 32);
    }
    // The hash of the shingle [start, end) of a text, its words split at its spaces.
    std::uint64_t shingle(std::u16string_view text, std::size_t start, std::size_t end) const;

private:
    static constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;

    static std::uint64_t step(std::uint64_t hash, std::uint64_t block)
    {
        hash = (hash ^ block) * Multiplier;
        return hash ^ (hash >> 29);
    }

    // Multiply-xorshift over four code units a block, the length folded in at the end.
    static std::uint64_t fixedHash(const char16_t* units, std::size_t size)
    {
        std::uint64_t hash = Multiplier;
        const std::uint64_t length = size;
        for (; size >= 4; size -= 4, units += 4) {
            std::uint64_t block = 0;
            std::memcpy(&block, units, sizeof block);
            hash = step(hash, block);
        }
        hash = (hash ^ LastUnits(units, size) ^ (length << 48)) * Multiplier;
        return hash ^ (hash >> 32);
    }

    std::uint64_t wordLeavingOut(std::u16string_view characters) const;

    std::optional<HashKey> key_;
};

} // namespace analysis::detail
